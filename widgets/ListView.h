#pragma once

#include <QPersistentModelIndex>
#include <QTableWidget>

#include <vector>

class IShellOpener;

// True for a cell text that is drawn and opened as a link: it holds "://" or "mailto:" and no "</".
bool IsLinkCellText(const QString &text);

// A read-only report view: fixed columns, grid lines, whole-row selection, rows 20 high, no
// sorting. Cells whose text is a link are drawn underlined in the link colour with their full
// text, show a hand cursor, and a left click on the text opens it through the desktop.
class TSkinListView final : public QTableWidget {
    Q_OBJECT
public:
    struct TColumn {
        QString Caption;
        int Width = 0;
    };

    TSkinListView(IShellOpener &opener, QWidget *parent = nullptr);

    void SetColumns(const std::vector<TColumn> &columns);
    // Appends a row with the cell texts in column order; returns its index.
    int AddRow(const QStringList &cells);
    // Deletes every row; the columns stay.
    void ClearRows();
    QString CellText(int row, int column) const;
    // Where a link cell's text is drawn, in viewport coordinates; empty for a cell that is no link.
    QRect LinkRect(int row, int column) const;

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QModelIndex LinkAt(const QPoint &position) const;

    IShellOpener &FOpener;
    QPersistentModelIndex FPressedLink;
};
