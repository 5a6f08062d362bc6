#pragma once

#include <QLabel>

#include <string>

class IShellOpener;

// A caption with an address: underlined, hand cursor, highlighted while the mouse is over it; a
// left click hands the address itself to the desktop's "open" action.
class TLinkLabel final : public QLabel {
    Q_OBJECT
public:
    TLinkLabel(IShellOpener &opener, QWidget *parent = nullptr);

    void SetCaption(const std::string &caption);
    std::string Caption() const;
    void SetURL(const std::string &url) { FURL = url; }
    const std::string &URL() const { return FURL; }
    bool Highlighted() const { return FHighlighted; }

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void SetHighlighted(bool highlighted);

    IShellOpener &FOpener;
    std::string FURL;
    bool FHighlighted = false;
    bool FPressed = false;
};
