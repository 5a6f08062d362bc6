#pragma once

#include <QLabel>

class QMovie;

// A still picture that sizes itself to its picture and reports clicks.
class TImageView final : public QLabel {
    Q_OBJECT
public:
    explicit TImageView(QWidget *parent = nullptr);
    void SetPicture(const QPixmap &picture);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// An animated GIF, repeating as the file says, that sizes itself to its frames and reports clicks.
class TGifView final : public QLabel {
    Q_OBJECT
public:
    explicit TGifView(QWidget *parent = nullptr);
    // False when the file is not an animation Qt can read; the view then keeps what it showed.
    bool LoadFromFile(const QString &fileName);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QMovie *FMovie = nullptr;
};
