// The main window's frame and its folder page, driven on the offscreen platform.
#include "Dlg_Main.h"
#include "Fixture.h"
#include "ScriptedPrompt.h"
#include "SetupPage.h"
#include "TargetingPage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QtTest>

class TShellTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { StartAsTheProgram(); }

    void FirstStartWithoutSettingsFile() {
        TFixture fx;
        TScriptedPrompt prompt;
        {
            TDlgMain window(fx.Ini(), prompt);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.size(), QSize(772, 640));
            QCOMPARE(window.windowTitle(), QString("Zielmark - Teski"));
            QCOMPARE(window.pcMain->tabText(0), QString("Folder Setup"));
            QCOMPARE(window.pcMain->tabText(1), QString("Google Earth to Orbiter"));
            QCOMPARE(window.pcMain->tabText(2), QString("Orbiter to Google Earth"));
            // Empty folder settings become the root folder, which holds no planning files.
            QCOMPARE(window.tabSetup->lblSrcWptDir->text(), QString("/"));
            QCOMPARE(window.tabSetup->lblOrbScnDir->text(), QString("/"));
            QCOMPARE(window.tabSetup->lblFltResDir->text(), QString("/"));
            QCOMPARE(window.pcMain->currentIndex(), 0);
            QVERIFY(!window.pcMain->isTabVisible(1));
            QVERIFY(!window.pcMain->isTabVisible(2));
            QVERIFY(window.tabSetup->pnlGlobalWarnings->isVisible());
            QVERIFY(window.tabSetup->stGlobalWarnings->text().contains(
                "- No source *.kml files found that conform Zielmark format conventnion!\r\n"));
            QVERIFY(!QFile::exists(fx.Ini()));
            window.close();
        }
        // Closing writes the settings file even though nothing changed.
        const QByteArray ini = TFixture::ReadFile(fx.Ini());
        QVERIFY(ini.contains("[Application]\r\nActiveMainTab=0"));
        QVERIFY(ini.contains("[SrcWptDir]\r\nDir=/\r\n"));
        QVERIFY(prompt.Errors.isEmpty());
    }

    void BrowseStoresTheFolderAtOnceAndRefreshShowsTheTabs() {
        TFixture fx;
        fx.WriteIni(1, fx.Root() + "/later/", fx.ScnDir(), fx.ResultsDir());
        TScriptedPrompt prompt;
        TDlgMain window(fx.Ini(), prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The stored page is hidden by the check (its source folder is missing): the window opens on page 0.
        QVERIFY(!window.pcMain->isTabVisible(1));
        QCOMPARE(window.pcMain->currentIndex(), 0);
        QVERIFY(window.tabSetup->stGlobalWarnings->text().contains(
            QString("- Folder does not exist: \"%1/later/\"!").arg(fx.Root())));

        // A cancelled chooser changes nothing.
        prompt.Folder.clear();
        QTest::mouseClick(window.tabSetup->btnSrcWprDirBrowse, Qt::LeftButton);
        QCOMPARE(prompt.BrowseTitles, QStringList{"Google Earth waypoint files directory"});
        QCOMPARE(window.tabSetup->lblSrcWptDir->text(), fx.Root() + "/later/");

        fx.WriteSourceKml("baltic.kml");
        prompt.Folder = fx.Root() + "/kml"; // without the separator, as a chooser gives it
        QTest::mouseClick(window.tabSetup->btnSrcWprDirBrowse, Qt::LeftButton);
        QCOMPARE(window.tabSetup->lblSrcWptDir->text(), fx.KmlDir());
        const QByteArray ini = TFixture::ReadFile(fx.Ini());
        QVERIFY2(ini.contains(QString("[SrcWptDir]\r\nDir=%1\r\n").arg(fx.KmlDir()).toUtf8()),
                 ini.constData());
        QVERIFY(ini.contains("ActiveMainTab=0"));
        // The check does not run again until "Refresh".
        QVERIFY(!window.pcMain->isTabVisible(1));
        QTest::mouseClick(window.tabSetup->btnGlobalWarningsRefresh, Qt::LeftButton);
        QVERIFY(window.pcMain->isTabVisible(1));
        QVERIFY(!window.tabSetup->stGlobalWarnings->text().contains("Folder does not exist"));

        // The other two browse buttons carry their own titles.
        prompt.Folder = fx.ScnDir();
        QTest::mouseClick(window.tabSetup->btnOrbScnDirBrowse, Qt::LeftButton);
        prompt.Folder = fx.ResultsDir();
        QTest::mouseClick(window.tabSetup->btnSaveGEDirBrowse, Qt::LeftButton);
        QCOMPARE(prompt.BrowseTitles.mid(2),
                 (QStringList{"Orbiter Tesk scenario files directory", "Flight results files directory"}));
        QCOMPARE(window.tabSetup->lblOrbScnDir->text(), fx.ScnDir()); // already ends in a separator
        window.close();
    }

    void MissingResultsFolderHidesOnlyTheResultsTab() {
        TFixture fx;
        fx.WriteSourceKml("baltic.kml");
        fx.WriteFile(fx.ScenarioRoot() + "(Current state).scn", TFixture::ResultScenario());
        fx.WriteIni(2, fx.KmlDir(), fx.ScnDir(), fx.Root() + "/gone/");
        TScriptedPrompt prompt;
        TDlgMain window(fx.Ini(), prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.pcMain->isTabVisible(1));
        QVERIFY(!window.pcMain->isTabVisible(2));
        QCOMPARE(window.pcMain->currentIndex(), 0);
        QDir().mkpath(fx.Root() + "/gone");
        QTest::mouseClick(window.tabSetup->btnGlobalWarningsRefresh, Qt::LeftButton);
        QVERIFY(window.pcMain->isTabVisible(2));
        // No warnings left: the panel (and its "Refresh") goes away.
        QVERIFY(!window.tabSetup->pnlGlobalWarnings->isVisible());
        window.close();
    }

    // F5 reads the folders again on every page, also when no warning shows "Refresh": a KML file added to
    // the folder is offered at once; the page shown stays.
    void F5ReadsTheFoldersAgainOnEveryPage() {
        TFixture fx;
        fx.WriteSourceKml("baltic.kml");
        TFixture::WriteFile(fx.ScenarioRoot() + "(Current state).scn", TFixture::ResultScenario());
        fx.WriteIni(0);
        TScriptedPrompt prompt;
        TDlgMain window(fx.Ini(), prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(!window.tabSetup->pnlGlobalWarnings->isVisible());
        fx.WriteSourceKml("added.kml");
        for (const int page : {int(TDlgMain::PageSetup), int(TDlgMain::PageGeToOrb)}) {
            window.pcMain->setCurrentIndex(page);
            QTest::keyClick(&window, Qt::Key_F5);
            QCOMPARE(window.pcMain->currentIndex(), page);
            QCOMPARE(window.tabGeToOrb->cbLoadGEFiles->count(), 2);
            QCOMPARE(window.tabGeToOrb->cbLoadGEFiles->currentText(), QString("baltic.kml"));
        }
        QVERIFY(prompt.Errors.isEmpty() && prompt.UnsavedQuestions.isEmpty());
        window.close();
    }

    void UnwritableSettingsAreReportedWithTheirName() {
        TScriptedPrompt prompt;
        const QString ini = "/proc/zielmark-test/Zielmark.ini"; // a folder nobody can make
        TDlgMain window(ini, prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close();
        QCOMPARE(prompt.Errors.size(), 1);
        QVERIFY2(prompt.Errors[0].contains("Zielmark.ini"), qPrintable(prompt.Errors[0]));
    }

    void SkippedFilesAreNamedBelowTheWarnings() {
        TFixture fx;
        fx.WriteSourceKml("baltic.kml");
        TFixture::WriteFile(fx.KmlDir() + "broken.kml", "<kml><Document><Placemark><name>Tesk");
        TFixture::WriteFile(fx.ScenarioRoot() + "(Current state).scn", TFixture::ResultScenario());
        fx.WriteIni(1);
        TScriptedPrompt prompt;
        TDlgMain window(fx.Ini(), prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.pcMain->isTabVisible(1));
        QCOMPARE(window.pcMain->currentIndex(), 1);
        QVERIFY(window.tabSetup->pnlGlobalWarnings->isVisibleTo(window.tabSetup));
        const QString text = window.tabSetup->stGlobalWarnings->text();
        QVERIFY2(text.startsWith("- ") && text.contains("broken.kml") && !text.contains("baltic.kml"),
                 qPrintable(text));
        window.close();
    }

    // Every caption is drawn in the program's built-in font, whatever fonts the machine has, and fits its
    // place: it is not cut by its panel's edge and does not run into a neighbouring caption or button.
    void CaptionsFitTheirPlaces() {
        TFixture fx;
        fx.WriteSourceKml("baltic.kml");
        TFixture::WriteFile(fx.ScenarioRoot() + "(Current state).scn", TFixture::ResultScenario());
        fx.WriteIni(0);
        TScriptedPrompt prompt;
        TDlgMain window(fx.Ini(), prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.pcMain->isTabVisible(1) && window.pcMain->isTabVisible(2));
        const auto captionOf = [](const QWidget* w) -> QString {
            if (const auto* label = qobject_cast<const QLabel*>(w))
                return label->wordWrap() || label->autoFillBackground()
                           ? QString()
                           : label->text(); // folder labels cut long paths
            if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
            return {};
        };
        QList<QWidget*> captioned;
        for (QWidget* w : window.findChildren<QWidget*>())
            if (!captionOf(w).isEmpty()) captioned << w;
        QVERIFY(captioned.size() > 60);
        for (QWidget* w : captioned) {
            const QString text = captionOf(w);
            const QString family = QFontInfo(w->font()).family();
            QVERIFY2(family == "Liberation Sans", qPrintable(text + " is drawn in " + family));
            const QRect place = w->geometry();
            QVERIFY2(place.right() < w->parentWidget()->width(), qPrintable("cut by its panel: " + text));
            // A push button needs its text's width; a radio button or check box its mark and text as well.
            const int needed = qobject_cast<QPushButton*>(w) ? w->fontMetrics().horizontalAdvance(text) + 4
                                                             : w->sizeHint().width();
            QVERIFY2(needed <= place.width(), qPrintable("caption wider than its control: " + text));
            for (QWidget* other : captioned)
                if (other != w && other->parentWidget() == w->parentWidget())
                    QVERIFY2(!place.intersects(other->geometry()),
                             qPrintable(text + " runs into " + captionOf(other)));
        }
        // A prompt inside a text box is drawn in its place as well.
        for (const QPlainTextEdit* edit : window.findChildren<QPlainTextEdit*>()) {
            const QString prompt = edit->placeholderText();
            if (prompt.isEmpty()) continue;
            QCOMPARE(QFontInfo(edit->font()).family(), QString("Liberation Sans"));
            const int room = edit->contentsRect().width() - 2 * int(edit->document()->documentMargin());
            QVERIFY2(edit->fontMetrics().horizontalAdvance(prompt) <= room,
                     qPrintable(QString("prompt wider than its box: %1 (%2 pixels, room for %3)")
                                    .arg(prompt)
                                    .arg(edit->fontMetrics().horizontalAdvance(prompt))
                                    .arg(room)));
        }
        window.close();
    }
};

QTEST_MAIN(TShellTest)
#include "shell_test.moc"
