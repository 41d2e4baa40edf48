#include "SetupPage.h"

#include "UiKit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

const char* const AboutText =
    "Zielmark is a stand-alone application delivered with the Teski add-on for Orbiter. It can:\n"
    "- serve as a two-way bridge between Orbiter and Google Earth;\n"
    "- help to create Teski scenarios from Google Earth waypoint files;\n"
    "- help to analyse and visualise Teski firing results;\n"
    "- help to create Google Earth waypoint files for better flight analysis and visualisation.\n"
    "See the add-on's manual for a full description.\n\n"
    "Ver. 1\n"
    "October 2006";

namespace {

// A folder label: fixed size, bold, on the tooltip's yellow; the full folder shows on hover when cut off.
QLabel* MakeFolderLabel(QWidget* parent, int top) {
    auto* label = new QLabel(parent);
    label->setGeometry(72, top, 345, 15);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::ToolTipText));
    label->setPalette(palette);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TSetupPage::TSetupPage(QWidget* parent) : QWidget(parent) {
    MakePanel(this, 0, 0, 441, 281);

    MakePicture(this, TIcon::GoogleEarth, 8, 8);
    MakeBoldLabel(this, "Google Earth", 72, 8, 16);
    MakeLabel(this, "Folder for the original *.kml files, to be used for making scenarios: ", 72, 40);
    lblSrcWptDir = MakeFolderLabel(this, 64);
    btnSrcWprDirBrowse = MakeButton(this, "...", 416, 64, 17, 17);

    MakePicture(this, TIcon::Orbiter, 8, 96);
    MakeBoldLabel(this, "Orbiter", 72, 96, 16);
    MakeLabel(this, "Folder for the Teski launch scenario files (*.scn):", 72, 128);
    lblOrbScnDir = MakeFolderLabel(this, 152);
    btnOrbScnDirBrowse = MakeButton(this, "...", 414, 152, 19, 17);

    MakePicture(this, TIcon::FlightResults, 8, 184);
    MakeBoldLabel(this, "Flight results", 72, 184, 16);
    MakeLabel(this, "Folder for the flight results - *.kml files and copies of *.scn files:", 72, 216);
    lblFltResDir = MakeFolderLabel(this, 232);
    btnSaveGEDirBrowse = MakeButton(this, "...", 416, 232, 17, 17);
    // the browse buttons sit on the right end of their labels
    btnSrcWprDirBrowse->raise();
    btnOrbScnDirBrowse->raise();
    btnSaveGEDirBrowse->raise();

    pnlGlobalWarnings = MakePanel(this, 0, 288, 441, 321);
    MakeBoldLabel(pnlGlobalWarnings, "Warnings", 8, 8);
    stGlobalWarnings = MakeStaticText(pnlGlobalWarnings, 8, 32, 409, 233);
    btnGlobalWarningsRefresh = MakeButton(pnlGlobalWarnings, "Refresh", 176, 280, 75, 25);
    btnGlobalWarningsRefresh->setToolTip("Read the folders again (F5, on every page)");
    pnlGlobalWarnings->hide();

    auto* about = new QGroupBox("About", this);
    about->setGeometry(448, 0, 313, 281);
    auto* aboutText = new QPlainTextEdit(AboutText, about);
    aboutText->setGeometry(32, 32, 257, 241);
    aboutText->setReadOnly(true);
    aboutText->document()->setDocumentMargin(0);
    aboutText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    aboutText->setFrameStyle(QFrame::NoFrame);
    aboutText->setFocusPolicy(Qt::NoFocus); // not in the tab order
    aboutText->setBackgroundRole(QPalette::Window);
    aboutText->viewport()->setAutoFillBackground(false);
    aboutText->setAutoFillBackground(false);
}
