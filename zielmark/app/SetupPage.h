// The "Folder Setup" page: the three working folders with their browse buttons, the warnings panel and the
// about box. The page holds the controls; the main window runs their events.
#pragma once
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

class TSetupPage : public QWidget {
public:
    explicit TSetupPage(QWidget* parent);

    QLabel* lblSrcWptDir;
    QLabel* lblOrbScnDir;
    QLabel* lblFltResDir;
    QPushButton* btnSrcWprDirBrowse;
    QPushButton* btnOrbScnDirBrowse;
    QPushButton* btnSaveGEDirBrowse;
    QFrame* pnlGlobalWarnings;
    QLabel* stGlobalWarnings;
    QPushButton* btnGlobalWarningsRefresh;
};

// The text of the about box.
extern const char* const AboutText;
