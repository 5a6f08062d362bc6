#include "widgets/ListView.h"

#include "platform/ProgramStarter.h"
#include "widgets/TextCodec.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

constexpr int RowHeight = 20;

QFont LinkFont(QFont font) {
    font.setUnderline(true);
    return font;
}

class TLinkCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!IsLinkCellText(option->text))
            return;
        option->font = LinkFont(option->font);
        option->textElideMode = Qt::ElideNone;
        if (!(option->state & QStyle::State_Selected))
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Link));
    }
};

} // namespace

bool IsLinkCellText(const QString &text) {
    return (text.contains(QLatin1String("://")) || text.contains(QLatin1String("mailto:"))) &&
           !text.contains(QLatin1String("</"));
}

TSkinListView::TSkinListView(IShellOpener &opener, QWidget *parent) : QTableWidget(parent), FOpener(opener) {
    setItemDelegate(new TLinkCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setSortingEnabled(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    // A header click neither sorts nor selects a column.
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    viewport()->setMouseTracking(true);
}

void TSkinListView::SetColumns(const std::vector<TColumn> &columns) {
    setColumnCount(static_cast<int>(columns.size()));
    for (int i = 0; i < columnCount(); ++i) {
        const TColumn &column = columns[static_cast<std::size_t>(i)];
        setHorizontalHeaderItem(i, new QTableWidgetItem(column.Caption));
        setColumnWidth(i, column.Width);
    }
}

int TSkinListView::AddRow(const QStringList &cells) {
    const int row = rowCount();
    insertRow(row);
    for (int i = 0; i < columnCount() && i < cells.size(); ++i) {
        auto *item = new QTableWidgetItem(cells[i]);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, i, item);
    }
    return row;
}

void TSkinListView::ClearRows() {
    FPressedLink = QPersistentModelIndex();
    setRowCount(0);
}

QString TSkinListView::CellText(int row, int column) const {
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

QRect TSkinListView::LinkRect(int row, int column) const {
    const QString text = CellText(row, column);
    if (!IsLinkCellText(text))
        return {};
    const QRect cell = visualRect(model()->index(row, column));
    // The same margin the style leaves before an item's text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QFontMetrics metrics(LinkFont(font()));
    QRect textRect(cell.left() + margin, cell.top(), metrics.horizontalAdvance(text), cell.height());
    return textRect.intersected(cell);
}

QModelIndex TSkinListView::LinkAt(const QPoint &position) const {
    const QModelIndex index = indexAt(position);
    if (index.isValid() && LinkRect(index.row(), index.column()).contains(position))
        return index;
    return {};
}

void TSkinListView::mouseMoveEvent(QMouseEvent *event) {
    if (LinkAt(event->position().toPoint()).isValid())
        viewport()->setCursor(Qt::PointingHandCursor);
    else
        viewport()->unsetCursor();
    QTableWidget::mouseMoveEvent(event);
}

void TSkinListView::mousePressEvent(QMouseEvent *event) {
    FPressedLink = event->button() == Qt::LeftButton ? LinkAt(event->position().toPoint()) : QModelIndex();
    QTableWidget::mousePressEvent(event);
}

void TSkinListView::mouseReleaseEvent(QMouseEvent *event) {
    const QModelIndex link = LinkAt(event->position().toPoint());
    const bool click = event->button() == Qt::LeftButton && link.isValid() && link == FPressedLink;
    // Taken now: a handler of the release may change the rows.
    const QString target = click ? model()->data(link).toString() : QString();
    FPressedLink = QPersistentModelIndex();
    QTableWidget::mouseReleaseEvent(event);
    if (click)
        FOpener.Open(QStringToCp1252(target));
}

void TSkinListView::leaveEvent(QEvent *event) {
    viewport()->unsetCursor();
    QTableWidget::leaveEvent(event);
}
