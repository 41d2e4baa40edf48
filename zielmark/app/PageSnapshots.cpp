#include "PageSnapshots.h"

#include "Dlg_Main.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>

#include <cstdio>

bool SavePageSnapshots(TDlgMain& window, const QString& folder) {
    QDir().mkpath(folder);
    const char* const names[] = {"setup.png", "targeting.png", "results.png"};
    bool ok = true;
    for (int page = 0; page < 3; ++page) {
        if (!window.pcMain->isTabVisible(page)) {
            std::fprintf(stderr, "page %d is hidden by the folder check; no picture\n", page);
            ok = false;
            continue;
        }
        window.pcMain->setCurrentIndex(page);
        QApplication::processEvents();
        const QString path = QDir(folder).filePath(names[page]);
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    return ok;
}
