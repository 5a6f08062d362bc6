#include "widgets/Skin.h"

#include <QWidget>

namespace {

// A light steel skin. Colours only: fonts stay with the widgets, so per-widget fonts (the
// underlined link labels) keep working.
const char *const SkinSheet = R"(
QWidget#TfrmMain, QDialog, QMessageBox {
    background: #e8ecf1;
}
QTabWidget::pane {
    border: 1px solid #8795a6;
    top: 0px;
}
QFrame#bsSkinPanel1, QFrame#bsSkinPanel4 {
    border: none;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f9fb, stop:1 #dbe2ea);
}
QFrame#bsSkinPanel1 {
    border-bottom: 1px solid #b4bfcc;
}
QFrame#panBanner, QFrame#panLinks, QFrame#bsSkinPanel14 {
    background: #eef1f5;
    border: 1px solid #b4bfcc;
}
QPushButton {
    color: #1c2a3a;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fdfdfe, stop:1 #dce3eb);
    border: 1px solid #8795a6;
    border-radius: 3px;
    padding: 0px 6px;
}
QPushButton:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f9ff, stop:1 #cfe0f2);
    border-color: #4f7fb3;
}
QPushButton:pressed {
    background: #c3d5e9;
}
QPushButton:default {
    border: 1px solid #2f6299;
}
QPushButton:disabled {
    color: #8a96a3;
}
QPushButton#btnNews, QPushButton#btnUpdate, QPushButton#btnHelp {
    padding: 0px;
}
QLineEdit, QComboBox {
    color: #1c2a3a;
    background: #ffffff;
    border: 1px solid #8795a6;
    border-radius: 2px;
    padding: 1px 2px;
    selection-background-color: #3a6ea5;
}
QLineEdit:focus, QComboBox:focus {
    border-color: #3a6ea5;
}
QComboBox QAbstractItemView {
    background: #ffffff;
    border: 1px solid #8795a6;
    selection-background-color: #3a6ea5;
    selection-color: #ffffff;
}
QTableWidget {
    background: #ffffff;
    color: #1c2a3a;
    border: 1px solid #8795a6;
    gridline-color: #d3dae2;
    selection-background-color: #3a6ea5;
    selection-color: #ffffff;
}
QHeaderView::section {
    color: #1c2a3a;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfcfd, stop:1 #dde4ec);
    border: none;
    border-right: 1px solid #b4bfcc;
    border-bottom: 1px solid #b4bfcc;
    padding: 0px 4px;
}
QTextBrowser {
    background: #ffffff;
    border: none;
}
QFrame#bsSkinStatusBar1 {
    background: #dbe2ea;
    border-top: 1px solid #b4bfcc;
}
QLabel#MainStatusPanel, QLabel#SecondStatusPanel {
    color: #1c2a3a;
    border: 1px solid #b4bfcc;
    border-top-color: #9aa7b6;
    background: #e8ecf1;
    padding: 0px 4px;
}
QProgressBar {
    color: #1c2a3a;
    border: 1px solid #8795a6;
    background: #ffffff;
    text-align: center;
}
QProgressBar::chunk {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #7fb0e0, stop:1 #3a6ea5);
}
QToolTip {
    color: #1c2a3a;
    background: #ffffe1;
    border: 1px solid #8795a6;
}
)";

} // namespace

QString BuiltInSkin() {
    return QString::fromLatin1(SkinSheet);
}

TSkinData::TSkinData() : FStyleSheet(BuiltInSkin()) {}

void TSkinData::Replace(const QString &styleSheet) {
    if (!styleSheet.trimmed().isEmpty())
        FStyleSheet = styleSheet;
}

void TSkinData::Apply(QWidget &window) const {
    window.setStyleSheet(FStyleSheet);
}
