// The "Dispersion" page driven through its controls: opening a dispersion folder, a missile's figures and
// picture, and folders that are not what they should be.
#include "DispersionPage.h"
#include "Dlg_Main.h"
#include "Fixture.h"
#include "ScriptedPrompt.h"
#include "Unit_Dispersion.h"
#include "Unit_DispersionFolder.h"
#include "Unit_Results.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

class TDispersionTest : public QObject {
    Q_OBJECT

    // A dispersion folder of the fixture's two wrecks flown twice, the second with the precise cut-off; a
    // picture for the first missile only.
    static QString WriteFolder(const TFixture& fx) {
        zm::TOrbResults results;
        const QByteArray scenario = TFixture::ResultScenario();
        zm::ReadOrbResultText(scenario.toStdString(), "fixture", results);
        zm::TDispersion d;
        d.Plan = "fixture.scn";
        d.RunsPlanned = 2;
        d.PreciseMissiles = {"Tesk_3"};
        d.AddRun(1, results.Wrecks);
        d.AddRun(2, results.Wrecks);
        d.Finish();
        const QString dir = fx.Root() + "/fixture dispersion";
        const zm::TResult written = zm::WriteDispersionFolder(dir.toStdString(), d, {});
        if (!written.Ok()) qFatal("%s", written.Message.c_str());
        QImage picture(160, 128, QImage::Format_RGB32);
        picture.fill(Qt::green);
        picture.save(dir + "/" + QString::fromStdString(zm::DispersionPictureName(0, d.Missiles[0].Missile)) +
                     ".png");
        return dir;
    }

private slots:
    void initTestCase() { StartAsTheProgram(); }

    void OpensAFolderAndShowsEachMissilesFiguresAndPicture() {
        TFixture fx;
        fx.WriteIni(0);
        TScriptedPrompt prompt;
        TDlgMain window(fx.Ini(), prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.pcMain->count(), 4);
        QCOMPARE(window.pcMain->tabText(TDlgMain::PageDispersion), QString("Dispersion"));
        TDispersionPage* page = window.tabDispersion;
        window.pcMain->setCurrentIndex(TDlgMain::PageDispersion);

        prompt.Folder = WriteFolder(fx);
        QTest::mouseClick(page->btnOpenDispersion, Qt::LeftButton);
        QCOMPARE(prompt.BrowseTitles, QStringList{"Dispersion folder"});
        QCOMPARE(page->lbMissiles->count(), 2);
        QCOMPARE(page->lbMissiles->item(0)->text(), QString("Tesk_1"));
        QCOMPARE(page->lbMissiles->currentRow(), 0);
        const QString figures = page->stFigures->text();
        QVERIFY2(figures.startsWith("Tesk_1 to Bornholm\nRuns 2,") &&
                     figures.contains("About the target:\n  CEP "),
                 qPrintable(figures));
        QVERIFY(!page->imgDispersion->pixmap().isNull());
        QCOMPARE(page->imgDispersion->pixmap().toImage().pixelColor(40, 40), QColor(Qt::green));

        QVERIFY(!figures.contains("Precise"));
        // The second missile failed in both runs: its failures are listed; it has no picture, and says so.
        page->lbMissiles->setCurrentRow(1);
        QVERIFY2(page->stFigures->text().startsWith("Tesk_3 to Oeland\nPrecise cut-off\nRuns 2,"),
                 qPrintable(page->stFigures->text()));
        QVERIFY2(page->stFigures->text().contains("failures 2") &&
                     page->stFigures->text().contains("No flight without a failure."),
                 qPrintable(page->stFigures->text()));
        QVERIFY(page->imgDispersion->pixmap().isNull());
        QVERIFY2(page->imgDispersion->text().contains("02_Tesk_3.png: no picture"),
                 qPrintable(page->imgDispersion->text()));

        // Cancelling the chooser keeps what is shown.
        prompt.Folder.clear();
        QTest::mouseClick(page->btnOpenDispersion, Qt::LeftButton);
        QCOMPARE(page->lbMissiles->count(), 2);
        window.close();
    }

    void AFolderWithoutAGoodDispersionFileSaysSoAndShowsNothing() {
        TFixture fx;
        fx.WriteIni(0);
        TScriptedPrompt prompt;
        TDlgMain window(fx.Ini(), prompt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TDispersionPage* page = window.tabDispersion;
        QVERIFY(page->OpenFolder(WriteFolder(fx)));
        QDir().mkpath(fx.Root() + "/broken");
        struct Case {
            QByteArray content; // empty: no file at all
            const char* expected;
        } cases[] = {{"", "dispersion.json: cannot be read"},
                     {"{\"missiles\": [", "dispersion.json: not a dispersion file"},
                     {"\xff\xfe garbage", "dispersion.json: not a dispersion file"}};
        for (const Case& c : cases) {
            if (!c.content.isEmpty()) TFixture::WriteFile(fx.Root() + "/broken/dispersion.json", c.content);
            QVERIFY(!page->OpenFolder(fx.Root() + "/broken"));
            QCOMPARE(page->lbMissiles->count(), 0);
            QVERIFY(page->stFigures->text().isEmpty());
            QVERIFY2(page->imgDispersion->text().contains(c.expected),
                     qPrintable(page->imgDispersion->text()));
        }
        window.close();
    }
};

QTEST_MAIN(TDispersionTest)
#include "dispersion_test.moc"
