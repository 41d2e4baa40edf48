// The "Google Earth to Orbiter" page driven through its controls: a whole planning round and its errors.
#include "CanvasImage.h"
#include "Dlg_Main.h"
#include "Fixture.h"
#include "ScriptedPrompt.h"
#include "TargetingPage.h"
#include "Unit_Functions.h"
#include "Unit_GEFile.h"
#include "Unit_Results.h"
#include "WaypointList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <functional>
#include <memory>
#include <set>

namespace {

struct TOpenWindow {
    TScriptedPrompt Prompt;
    std::unique_ptr<TDlgMain> Window;
    TGeToOrbPage* Page = nullptr;

    explicit TOpenWindow(const QString& ini) {
        Window = std::make_unique<TDlgMain>(ini, Prompt);
        Window->show();
        Page = Window->tabGeToOrb;
    }
};

// A window open on the planning page with the fixture's "baltic.kml"; `prepare` adds files before it opens.
struct TBalticWindow {
    TFixture Fx;
    std::unique_ptr<TOpenWindow> Open;
    TGeToOrbPage* Page = nullptr;

    explicit TBalticWindow(const std::function<void(const TFixture&)>& prepare = {}) {
        Fx.WriteSourceKml("baltic.kml");
        if (prepare) prepare(Fx);
        Fx.WriteIni(1);
        Open = std::make_unique<TOpenWindow>(Fx.Ini());
        Page = Open->Page;
    }
    TScriptedPrompt& Prompt() { return Open->Prompt; }
    bool Exposed() const { return QTest::qWaitForWindowExposed(Open->Window.get()); }
};

QStringList Names(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

// Drops what a drag from the missile list carries (the missile's row; nothing of ours for -1) at a point
// of the target list.
void DropAt(TGeToOrbPage* page, int tesk, QPoint at) {
    QCoreApplication::processEvents(); // the lists lay out their rows
    QMimeData mime;
    if (tesk >= 0)
        mime.setData(TWaypointList::MimeType, QByteArray::number(tesk));
    else
        mime.setText("Tesk_1");
    // As a drag does: entering the list makes it the drop's receiver.
    QDragEnterEvent enter(at, Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page->lbTargets->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::LinkAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page->lbTargets->viewport(), &drop);
}

void DragMissileToTarget(TGeToOrbPage* page, int tesk, int target) {
    QCoreApplication::processEvents();
    QTest::mouseClick(page->lbTesks->viewport(), Qt::LeftButton, {},
                      page->lbTesks->visualItemRect(page->lbTesks->item(tesk)).center());
    QCOMPARE(page->lbTesks->currentRow(), tesk);
    DropAt(page, tesk, page->lbTargets->visualItemRect(page->lbTargets->item(target)).center());
}

QColor ItemColour(QListWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    return list->viewport()->grab().toImage().pixelColor(rect.right() - 3, rect.center().y());
}

void TypeInto(QLineEdit* edit, const QString& keys) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    edit->home(false);
    QTest::keyClicks(edit, keys);
}

QString StoredTime(const TGeToOrbPage* page) {
    return QString::fromStdString(zm::FormatTime(page->Model.ScenarioDateUtc));
}
QString StoredDate(const TGeToOrbPage* page) {
    return QString::fromStdString(zm::FormatDate(page->Model.ScenarioDateUtc));
}

const QColor Green(0, 128, 0);
const QColor Red(255, 0, 0);

// Presses a key where the keyboard's focus is, as a person does.
void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key(key), modifiers);
}

} // namespace

class TTargetingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { StartAsTheProgram(); }

    void PlanningRoundSavedAndReadBack() {
        TFixture fx;
        fx.WriteSourceKml("baltic.kml");
        fx.WriteIni(1, fx.KmlDir(), fx.ScnDir(), fx.ResultsDir(), "BALTIC.KML");
        {
            TOpenWindow w(fx.Ini());
            TGeToOrbPage* page = w.Page;
            QVERIFY(QTest::qWaitForWindowExposed(w.Window.get()));
            QCOMPARE(w.Window->pcMain->currentIndex(), 1);
            QCOMPARE(page->cbLoadGEFiles->currentText(),
                     QString("baltic.kml")); // the recent file, case ignored
            QCOMPARE(Names(page->lbTesks), (QStringList{"Tesk_1", "Tesk_2", "Tesk_3"}));
            QCOMPARE(Names(page->lbTargets), (QStringList{"Bornholm", "Gotland", "Oeland", "Skane"}));
            QCOMPARE(page->stGEDescr->text(), QString("Baltic test file"));
            QCOMPARE(int(page->Rows().size()), 3);
            QCOMPARE(page->Rows()[2].DelayUpDown->y(), page->lbTesks->y() + 2 * TWaypointList::ItemHeight);
            // The prompt is shown, not held as the description.
            QCOMPARE(page->mOrbDescr->toPlainText(), QString());
            QCOMPARE(page->mOrbDescr->placeholderText(), QString("Type scenario description here"));
            QCOMPARE(page->stGEtoOrbWarnings->text(),
                     QString("- Scenario file name is not specified!\r\n- No targets assgined!\r\n"));
            QVERIFY(page->pnlGEtoOrbWarnings->isVisible());
            QVERIFY(!page->btnSaveOrbFile->isEnabled());
            QVERIFY(!page->cbActiveVessel->isEnabled());
            QCOMPARE(ItemColour(page->lbTesks, 0), Red);

            // Drag and drop: two missiles on one target, then one dropped below the last target.
            DragMissileToTarget(page, 0, 1);
            QCOMPARE(page->Model.Waypoints.Tesks[0].TargetName, std::string("Gotland"));
            QCOMPARE(ItemColour(page->lbTesks, 0), Green);
            QCOMPARE(ItemColour(page->lbTargets, 1), Green);
            QCOMPARE(ItemColour(page->lbTargets, 0), Red);
            QCOMPARE(page->imgLinks->Canvas().pixelColor(3, 10), QColor(Qt::black));
            // The warnings come first; advice about the models may follow them.
            QVERIFY(page->stGEtoOrbWarnings->text().startsWith(
                "- Scenario file name is not specified!\r\n- Tesk_1: "));
            DragMissileToTarget(page, 1, 1);
            QCOMPARE(page->Model.Waypoints.Targets[1].LinkCount, 2);
            QCOMPARE(page->cbActiveVessel->count(), 2);
            QVERIFY(page->cbActiveVessel->isEnabled());
            QTest::mouseClick(page->lbTesks->viewport(), Qt::LeftButton, {},
                              page->lbTesks->visualItemRect(page->lbTesks->item(1)).center());
            DropAt(page, 1, QPoint(20, 4 * TWaypointList::ItemHeight + 40));
            QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string());
            QCOMPARE(page->cbActiveVessel->count(), 1);
            // A drop that carries no missile changes nothing, though a missile is selected.
            QCOMPARE(page->lbTesks->currentRow(), 1);
            DropAt(page, -1, page->lbTargets->visualItemRect(page->lbTargets->item(3)).center());
            QCOMPARE(page->Model.Waypoints.Targets[3].LinkCount, 0);
            QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string());

            // Randomize: a target of its own for each missile, delays from the generator, focus on the
            // longest delay.
            const std::vector<int> draws{3, 0, 7, 1, 5, 2};
            auto next = std::make_shared<size_t>(0);
            w.Window->Random = [draws, next](int n) { return draws[(*next)++ % draws.size()] % n; };
            QTest::mouseClick(page->btnRandomize, Qt::LeftButton);
            std::set<std::string> targets;
            for (const auto& tesk : page->Model.Waypoints.Tesks)
                targets.insert(tesk.TargetName);
            QCOMPARE(int(targets.size()), 3);
            QVERIFY(!targets.count(""));
            QCOMPARE(page->Rows()[0].DelayUpDown->value(), 3);
            QCOMPARE(page->Rows()[1].DelayUpDown->value(), 7);
            QCOMPARE(page->Rows()[2].DelayUpDown->value(), 5);
            QCOMPARE(page->cbActiveVessel->currentText(), QString("Tesk_2"));

            // "Flip all checkboxes" sets every box to its own state, whatever each was.
            QTest::mouseClick(page->Rows()[1].RealisticBox, Qt::LeftButton, {}, QPoint(7, 7));
            QVERIFY(!page->Model.Waypoints.Tesks[1].Realistic);
            QTest::mouseClick(page->chbFlipAllCheckBoxes, Qt::LeftButton, {}, QPoint(7, 7));
            for (const auto& row : page->Rows())
                QVERIFY(!row.RealisticBox->isChecked());
            QTest::mouseClick(page->chbFlipAllCheckBoxes, Qt::LeftButton, {}, QPoint(7, 7));
            for (const auto& row : page->Rows())
                QVERIFY(row.RealisticBox->isChecked());
            QTest::mouseClick(page->Rows()[2].RealisticBox, Qt::LeftButton, {}, QPoint(7, 7));
            page->Rows()[0].DelayUpDown->setValue(42);
            QCOMPARE(page->Model.Waypoints.Tesks[0].Delay, 42);

            // Date and time: "Local" is the zone of Tesk_1 (13.4 E), one hour ahead of UTC.
            TypeInto(page->meOrbDate, "01062030");
            TypeInto(page->meOrbTime, "1200");
            QCOMPARE(page->meOrbTime->text(), QString("12:00"));
            QCOMPARE(StoredDate(page), QString("01.06.2030"));
            QCOMPARE(StoredTime(page), QString("11:00"));
            QTest::mouseClick(page->rbTimeUTC, Qt::LeftButton, {}, QPoint(7, 7));
            QCOMPARE(page->meOrbTime->text(), QString("11:00"));
            TypeInto(page->meOrbTime, "0530");
            QCOMPARE(StoredTime(page), QString("05:30"));
            TypeInto(page->meOrbDate, "31022030"); // no such day: the stored date stays
            QCOMPARE(StoredDate(page), QString("01.06.2030"));
            page->meOrbDate->setText("1.6.2030"); // day and month may take one digit
            QCOMPARE(StoredDate(page), QString("01.06.2030"));
            QTest::mouseClick(page->rbTimeLocal, Qt::LeftButton, {}, QPoint(7, 7));
            QCOMPARE(page->meOrbTime->text(), QString("06:30"));

            page->mOrbDescr->setPlainText("Dawn strike\nSecond line");
            page->cbActiveVessel->setCurrentIndex(page->cbActiveVessel->findText("Tesk_3"));
            TypeInto(page->cbSaveOrbFiles->lineEdit(), "plan1");
            // No warning is left; the advice that a model falls short stays in sight and does not stop the
            // save.
            QVERIFY(page->Model.Warnings.empty());
            QVERIFY(page->pnlGEtoOrbWarnings->isVisible());
            QVERIFY(page->stGEtoOrbWarnings->text().startsWith("- Tesk_"));
            QVERIFY(page->btnSaveOrbFile->isEnabled());

            // No leaves the disk untouched; Yes writes; a second save asks to overwrite.
            w.Prompt.Answers = {false};
            QTest::mouseClick(page->btnSaveOrbFile, Qt::LeftButton);
            QCOMPARE(w.Prompt.Questions,
                     QStringList{"Create new scenario file?\n" + fx.ScnDir() + "plan1.scn"});
            QVERIFY(!QFile::exists(fx.ScnDir() + "plan1.scn"));
            w.Prompt.Answers = {true};
            QTest::mouseClick(page->btnSaveOrbFile, Qt::LeftButton);
            QVERIFY(QFile::exists(fx.ScnDir() + "plan1.scn"));
            QCOMPARE(page->cbSaveOrbFiles->currentText(), QString("plan1.scn"));
            w.Prompt.Answers = {true};
            QTest::mouseClick(page->btnSaveOrbFile, Qt::LeftButton);
            QCOMPARE(w.Prompt.Questions.last(),
                     "File already exists. Overwrite?\n" + fx.ScnDir() + "plan1.scn");
            QVERIFY(w.Prompt.Errors.isEmpty());

            const QByteArray text = TFixture::ReadFile(fx.ScnDir() + "plan1.scn");
            QVERIFY(text.startsWith(
                "BEGIN_DESC\r\nDawn strike\r\nSecond line\r\n=== GENERATED FROM: baltic.kml ===\r\n"));
            QVERIFY(text.contains("  Ship Tesk_3\r\n"));
            QVERIFY(text.contains("Tesk_1:Teski\r\n"));
            QVERIFY(text.contains("  LAUNCHDELAY 42\r\n  REALISTIC 1\r\n"));
            QVERIFY(text.contains("  LAUNCHDELAY 5\r\n  REALISTIC 0\r\n"));
            w.Window->close();
        }
        // The next start opens the same file and reads the scenario back into the page.
        TOpenWindow w(fx.Ini());
        TGeToOrbPage* page = w.Page;
        QVERIFY(QTest::qWaitForWindowExposed(w.Window.get()));
        QCOMPARE(w.Window->pcMain->currentIndex(), 1);
        QCOMPARE(page->cbSaveOrbFiles->currentText(), QString("plan1.scn"));
        QCOMPARE(page->mOrbDescr->toPlainText(), QString("Dawn strike\nSecond line"));
        QCOMPARE(page->Rows()[0].DelayUpDown->value(), 42);
        QVERIFY(page->Rows()[1].RealisticBox->isChecked());
        QVERIFY(!page->Rows()[2].RealisticBox->isChecked());
        QCOMPARE(page->cbActiveVessel->currentText(), QString("Tesk_3"));
        QCOMPARE(StoredDate(page), QString("01.06.2030"));
        QCOMPARE(StoredTime(page), QString("05:30"));
        QCOMPARE(page->meOrbTime->text(), QString("06:30"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(ItemColour(page->lbTesks, i), Green);
        w.Window->close();
    }

    // Pressing on a missile and moving starts a drag that carries the pressed missile; a press on the empty
    // part of the list drags nothing, although the list has a current row once it has the focus (the drop
    // half is the drag events above; the offscreen platform ends a drag at once).
    void PressAndMoveDragsOnlyThePressedMissile() {
        TBalticWindow w;
        TGeToOrbPage* page = w.Page;
        QVERIFY(w.Exposed());
        QCoreApplication::processEvents();
        QWidget* source = page->lbTesks->viewport();
        const struct {
            const char* What;
            QPoint From;
            QByteArray Carried; // empty: no drag
        } cases[] = {
            {"the third missile", page->lbTesks->visualItemRect(page->lbTesks->item(2)).center(), "2"},
            {"the empty part below the missiles", QPoint(20, 5 * TWaypointList::ItemHeight), ""},
        };
        for (const auto& c : cases) {
            page->lbTesks->setFocus();
            page->lbTesks->setCurrentRow(0);
            QTest::mousePress(source, Qt::LeftButton, {}, c.From);
            QVERIFY2(page->lbTesks->findChildren<QDrag*>().isEmpty(), c.What);
            QTest::mouseMove(source, c.From + QPoint(0, 3 * QApplication::startDragDistance()));
            const QList<QDrag*> drags = page->lbTesks->findChildren<QDrag*>();
            QCOMPARE(drags.size(), c.Carried.isEmpty() ? 0 : 1);
            if (!drags.isEmpty()) QCOMPARE(drags[0]->mimeData()->data(TWaypointList::MimeType), c.Carried);
            QTest::mouseRelease(source, Qt::LeftButton, {}, c.From);
            qDeleteAll(drags);
        }
        QCOMPARE(page->lbTesks->currentRow(), 0);
    }

    // Typing into the scenario name box keeps what was typed: a name that merely begins like an existing
    // scenario never reads that scenario back over the page's unsaved assignments.
    void TypedScenarioNameIsNotCompletedToAnExistingOne() {
        TBalticWindow w([](const TFixture& fx) {
            TFixture::WriteFile(
                fx.ScnDir() + "Gui round.scn",
                "BEGIN_DESC\r\n=== GENERATED FROM: baltic.kml ===\r\nEND_DESC\r\nBEGIN_SHIPS\r\n"
                "Tesk_1:Teski\r\n  TARGET Skane\r\nEND\r\nEND_SHIPS\r\n");
        });
        const TFixture& fx = w.Fx;
        TGeToOrbPage* page = w.Page;
        QVERIFY(w.Exposed());
        QCOMPARE(page->cbSaveOrbFiles->currentText(), QString("Gui round.scn")); // the newest, read back
        QCOMPARE(page->Model.Waypoints.Tesks[0].TargetName, std::string("Skane"));
        DragMissileToTarget(page, 1, 1); // not saved yet

        for (const QString typed : {"G", "g", "Gui"}) {
            TypeInto(page->cbSaveOrbFiles->lineEdit(), typed);
            QCOMPARE(page->cbSaveOrbFiles->currentText(), typed);
            QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string("Gotland"));
        }
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "Gx");
        w.Prompt().Answers = {true};
        QTest::mouseClick(page->btnSaveOrbFile, Qt::LeftButton);
        QVERIFY(TFixture::ReadFile(fx.ScnDir() + "Gx.scn").contains("Tesk_2:Teski\r\n"));
        QVERIFY(TFixture::ReadFile(fx.ScnDir() + "Gx.scn").contains("  TARGET Gotland\r\n"));

        // Picking a scenario from the list, or typing its whole name, still reads it back.
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "Gui round.scn");
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string());
        const int gx = page->cbSaveOrbFiles->findText("Gx.scn");
        page->cbSaveOrbFiles->setCurrentIndex(gx);
        emit page->cbSaveOrbFiles->activated(gx);
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string("Gotland"));
    }

    // The date and time fields: what they show is what is saved, or they say they are invalid and "Save!"
    // waits until they are valid again.
    void DateFieldShowsWhatIsSavedOrSaysItIsInvalid() {
        TBalticWindow w;
        TGeToOrbPage* page = w.Page;
        QVERIFY(w.Exposed());
        QTest::mouseClick(page->rbTimeUTC, Qt::LeftButton, {}, QPoint(7, 7));
        DragMissileToTarget(page, 0, 0);
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "dated");
        TypeInto(page->meOrbTime, "0600");
        const struct {
            const char* Date;
            const char* Time;
            const char* Warning; // empty: valid, stored as shown
        } cases[] = {
            {"01082027", "0600", ""},
            {"31022027", "0600", "- Date is not valid: \"31.02.2027\"!\r\n"}, // typed over 01.08.2027
            {"29022028", "0600", ""},
            {"29022027", "0600", "- Date is not valid: \"29.02.2027\"!\r\n"},
            {"15132027", "0600", "- Date is not valid: \"15.13.2027\"!\r\n"},
            {"01082027", "2560", "- Time is not valid: \"25:60\"!\r\n"},
            {"01082027", "2359", ""},
        };
        for (const auto& c : cases) {
            const QString what = QString(c.Date) + " " + c.Time;
            page->meOrbDate->setFocus();
            page->meOrbDate->home(false);
            QTest::keyClicks(page->meOrbDate, c.Date); // typed over what the field shows
            TypeInto(page->meOrbTime, c.Time);
            // The warnings come first in the panel; the advice about the model (no warning) may follow.
            QCOMPARE(QString::fromStdString(zm::BulletedLines(page->Model.Warnings)), QString(c.Warning));
            QVERIFY(page->stGEtoOrbWarnings->text().startsWith(c.Warning));
            QCOMPARE(page->btnSaveOrbFile->isEnabled(), !*c.Warning);
            if (*c.Warning) {
                const QLineEdit* field =
                    QString(c.Warning).contains("Date") ? page->meOrbDate : page->meOrbTime;
                QVERIFY2(!field->toolTip().isEmpty(), qPrintable(what));
                QCOMPARE(field->palette().color(QPalette::Text), QColor(255, 0, 0));
                continue;
            }
            QCOMPARE(StoredDate(page), page->meOrbDate->text());
            QCOMPARE(StoredTime(page), page->meOrbTime->text());
            QVERIFY2(page->meOrbDate->toolTip().isEmpty() && page->meOrbTime->toolTip().isEmpty(),
                     qPrintable(what));
            w.Prompt().Answers = {true};
            QTest::mouseClick(page->btnSaveOrbFile, Qt::LeftButton);
            QVERIFY2(TFixture::ReadFile(w.Fx.ScnDir() + "dated.scn")
                         .contains("Date MJD " + QByteArray::fromStdString(zm::FormatFixed(
                                                     zm::DateTimeToMjd(page->Model.ScenarioDateUtc), 12))),
                     qPrintable(what));
            TypeInto(page->cbSaveOrbFiles->lineEdit(), "dated"); // the save read the file back
        }
        // Switching to "Local" shows the stored date again, and the warning goes.
        TypeInto(page->meOrbDate, "31022027");
        QVERIFY(!page->btnSaveOrbFile->isEnabled());
        QTest::mouseClick(page->rbTimeLocal, Qt::LeftButton, {}, QPoint(7, 7));
        QCOMPARE(zm::BulletedLines(page->Model.Warnings), std::string());
        QVERIFY(!page->stGEtoOrbWarnings->text().contains("Date is not valid"));
        QVERIFY(page->btnSaveOrbFile->isEnabled());
    }

    // A result file we wrote, lying among the planning files, is no planning source.
    void ResultFilesAreNotOfferedAsPlanningSources() {
        TBalticWindow w([](const TFixture& fx) {
            zm::TOrbResults results;
            zm::ReadOrbResultText(TFixture::ResultScenario().toStdString(), "salvo.scn", results);
            zm::WriteGEFile(fx.KmlDir().toStdString(), "salvo.kml", results.Wrecks);
            QFile::copy(QString(ZIELMARK_SOURCE_DIR) + "/examples/desert_range.kml",
                        fx.KmlDir() + "desert_range.kml");
        });
        QVERIFY(w.Exposed());
        QVERIFY(QFile::exists(w.Fx.KmlDir() + "salvo.kml"));
        QStringList offered;
        for (int i = 0; i < w.Page->cbLoadGEFiles->count(); ++i)
            offered << w.Page->cbLoadGEFiles->itemText(i);
        offered.sort();
        QCOMPARE(offered, (QStringList{"baltic.kml", "desert_range.kml"}));
    }

    void WarningsDisableSave() {
        TBalticWindow w;
        TGeToOrbPage* page = w.Page;
        QVERIFY(w.Exposed());
        DragMissileToTarget(page, 2, 0);
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "what?");
        QVERIFY(
            page->stGEtoOrbWarnings->text().startsWith("- Scenario file name is not valid: \"what?\"!\r\n"));
        QVERIFY(!page->btnSaveOrbFile->isEnabled());
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "what");
        QVERIFY(page->btnSaveOrbFile->isEnabled());
        // Clearing the only assignment brings the warning back.
        QTest::mouseClick(page->lbTesks->viewport(), Qt::LeftButton, {},
                          page->lbTesks->visualItemRect(page->lbTesks->item(2)).center());
        DropAt(page, 2, QPoint(10, page->lbTargets->height() - 5));
        QCOMPARE(page->stGEtoOrbWarnings->text(), QString("- No targets assgined!\r\n"));
        QVERIFY(!page->btnSaveOrbFile->isEnabled());
        QCOMPARE(ItemColour(page->lbTesks, 2), Red);
    }

    // Tab walks through every control of the page and out of the description, which takes no tab
    // character; Shift+Tab walks back.
    void TabReachesEveryControlAndLeavesTheDescription() {
        TBalticWindow w;
        TGeToOrbPage* page = w.Page;
        QVERIFY(w.Exposed());
        w.Open->Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.Open->Window.get()));
        DragMissileToTarget(page, 0, 0);                    // the focus list is enabled
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "keys"); // and "Save!"
        page->mOrbDescr->setPlainText("Dawn");
        page->cbLoadGEFiles->setFocus();
        QList<QWidget*> visited;
        for (int i = 0; i < 40; ++i) {
            visited << QApplication::focusWidget();
            Press(Qt::Key_Tab);
        }
        QCOMPARE(page->mOrbDescr->toPlainText(), QString("Dawn"));
        QList<QWidget*> expected{page->cbLoadGEFiles};
        for (const auto& row : page->Rows())
            expected << row.DelayUpDown << row.RealisticBox;
        expected << page->lbTesks << page->lbTargets << page->chbFlipAllCheckBoxes << page->btnRandomize
                 << page->chbPrecise << page->mOrbDescr << page->cbActiveVessel << page->meOrbDate
                 << page->meOrbTime << page->cbSaveOrbFiles << page->btnSaveOrbFile;
        // The time's radio buttons are one stop between the focus list and the date (the arrow keys choose
        // between them, as in any group of radio buttons).
        const int local = int(visited.indexOf(page->rbTimeLocal));
        QVERIFY(local > visited.indexOf(page->cbActiveVessel) && local < visited.indexOf(page->meOrbDate));
        QVERIFY(!visited.contains(page->rbTimeUTC));
        // The page's controls in this order, one after the other.
        QList<QWidget*> onPage;
        for (QWidget* v : visited) {
            while (v && !expected.contains(v)) // a spinner's or a combo box's own line edit stands for it
                v = v->parentWidget();
            if (v && !onPage.contains(v)) onPage << v;
        }
        QCOMPARE(onPage, expected);
        // Back again from "Save!".
        page->btnSaveOrbFile->setFocus();
        Press(Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), page->cbSaveOrbFiles);
    }

    // Without a mouse: pick the missile, pick the target, Enter points one at the other, with the same
    // result as a drop; Delete clears the missile's target, as a drop below the targets does.
    void KeyboardPointsAMissileAtATarget() {
        TBalticWindow dropped;
        QVERIFY(dropped.Exposed());
        DragMissileToTarget(dropped.Page, 1, 2);
        TBalticWindow w;
        TGeToOrbPage* page = w.Page;
        QVERIFY(w.Exposed());
        w.Open->Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.Open->Window.get()));

        page->lbTesks->setFocus(Qt::TabFocusReason);
        page->lbTesks->setCurrentRow(0);
        Press(Qt::Key_Down); // Tesk_2
        QCOMPARE(page->lbTesks->currentRow(), 1);
        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), page->lbTargets);
        page->lbTargets->setCurrentRow(0);
        Press(Qt::Key_Down);
        Press(Qt::Key_Down); // Oeland
        Press(Qt::Key_Return);
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string("Oeland"));
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName,
                 dropped.Page->Model.Waypoints.Tesks[1].TargetName);
        QCOMPARE(page->Model.FocusList, dropped.Page->Model.FocusList);
        QCOMPARE(zm::BulletedLines(page->Model.Warnings), zm::BulletedLines(dropped.Page->Model.Warnings));
        QCOMPARE(ItemColour(page->lbTesks, 1), Green);
        QCOMPARE(ItemColour(page->lbTargets, 2), Green);
        QCOMPARE(page->imgLinks->Canvas(), dropped.Page->imgLinks->Canvas());
        // Space does the same for another target; Delete in either list clears.
        Press(Qt::Key_Up); // Gotland
        Press(Qt::Key_Space);
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string("Gotland"));
        Press(Qt::Key_Delete);
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string());
        QCOMPARE(ItemColour(page->lbTesks, 1), Red);
        QCOMPARE(page->stGEtoOrbWarnings->text(),
                 QString("- Scenario file name is not specified!\r\n- No targets assgined!\r\n"));
        // The other controls work from the keyboard too: a delay, the "Realistic" box, a date.
        page->Rows()[0].DelayUpDown->setFocus(Qt::TabFocusReason);
        Press(Qt::Key_Up);
        Press(Qt::Key_Up);
        QCOMPARE(page->Model.Waypoints.Tesks[0].Delay, 2);
        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), page->Rows()[0].RealisticBox);
        Press(Qt::Key_Space);
        QVERIFY(!page->Model.Waypoints.Tesks[0].Realistic);
        page->rbTimeLocal->setFocus(Qt::TabFocusReason);
        Press(Qt::Key_Right);
        QVERIFY(page->rbTimeUTC->isChecked());
        QVERIFY(page->Model.ShowUtc);
    }

    // The "Precise cut-off" box is the selected missile's: off without a selection, showing each missile's
    // choice as the selection moves, set by a click or by Space, and read back from a saved scenario. It
    // fits its place beside "Randomize" inside the panel, caption whole.
    void ThePreciseBoxFollowsTheSelectedMissile() {
        TBalticWindow w([](const TFixture& fx) {
            TFixture::WriteFile(
                fx.ScnDir() + "precise.scn",
                "BEGIN_DESC\r\n=== GENERATED FROM: baltic.kml ===\r\nEND_DESC\r\nBEGIN_SHIPS\r\n"
                "Tesk_1:Teski\r\n  TARGET Skane\r\nEND\r\n"
                "Tesk_3:Teski\r\n  TARGET Oeland\r\n  PRECISE 1\r\nEND\r\nEND_SHIPS\r\n");
        });
        TGeToOrbPage* page = w.Page;
        QVERIFY(w.Exposed());
        QCheckBox* box = page->chbPrecise;
        const QRect place = box->geometry();
        QVERIFY(place.width() >= box->sizeHint().width());
        QVERIFY(page->pnlTargeting->rect().contains(place));
        QVERIFY(!place.intersects(page->btnRandomize->geometry()));
        QVERIFY(!place.intersects(page->lbTargets->geometry()));
        QVERIFY(!place.intersects(page->chbFlipAllCheckBoxes->geometry()));

        QCOMPARE(page->cbSaveOrbFiles->currentText(), QString("precise.scn"));
        QVERIFY(!box->isEnabled());
        const std::vector<bool> read{false, false, true};
        for (int i = 0; i < 3; ++i) {
            page->lbTesks->setCurrentRow(i);
            QVERIFY(box->isEnabled());
            QCOMPARE(box->isChecked(), bool(read[size_t(i)]));
        }
        QVERIFY(!page->Model.HasUnsavedChanges());
        page->lbTesks->setCurrentRow(0);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, 7));
        QVERIFY(page->Model.Waypoints.Tesks[0].Precise);
        QVERIFY(page->Model.HasUnsavedChanges());
        page->lbTesks->setCurrentRow(2);
        w.Open->Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.Open->Window.get()));
        box->setFocus(Qt::TabFocusReason);
        Press(Qt::Key_Space);
        QVERIFY(!page->Model.Waypoints.Tesks[2].Precise);
        QVERIFY(!box->isChecked());
        page->lbTesks->setCurrentRow(0);
        QVERIFY(box->isChecked());
        QVERIFY(!page->Model.Waypoints.Tesks[1].Precise);
    }

    // The description's prompt is no content: a scenario without a description reads back empty, and the
    // next save writes none.
    void TheDescriptionPromptIsNoContent() {
        TBalticWindow w([](const TFixture& fx) {
            TFixture::WriteFile(
                fx.ScnDir() + "quiet.scn",
                "BEGIN_DESC\r\n=== GENERATED FROM: baltic.kml ===\r\nEND_DESC\r\nBEGIN_SHIPS\r\n"
                "Tesk_1:Teski\r\n  TARGET Skane\r\nEND\r\nEND_SHIPS\r\n");
        });
        TGeToOrbPage* page = w.Page;
        QVERIFY(w.Exposed());
        QCOMPARE(page->cbSaveOrbFiles->currentText(), QString("quiet.scn"));
        QCOMPARE(page->mOrbDescr->toPlainText(), QString());
        QCOMPARE(page->mOrbDescr->placeholderText(), QString("Type scenario description here"));
        w.Prompt().Answers = {true};
        QTest::mouseClick(page->btnSaveOrbFile, Qt::LeftButton);
        QVERIFY(TFixture::ReadFile(w.Fx.ScnDir() + "quiet.scn")
                    .startsWith("BEGIN_DESC\r\n=== GENERATED FROM: baltic.kml ===\r\nEND_DESC\r\n"));
        QCOMPARE(page->mOrbDescr->toPlainText(), QString());
    }

    // Work that is not saved is not thrown away without a question: another KML file, another scenario,
    // typing an existing scenario's name, "Refresh" and its key, closing the window. Cancel keeps everything
    // as it is; Discard goes on; Save saves first and then goes on.
    void UnsavedWorkIsAskedAboutFirst() {
        TBalticWindow w([](const TFixture& fx) {
            fx.WriteSourceKml("other.kml");
            fx.WriteSourceKml("baltic.kml"); // the newest again: the page opens on it
            TFixture::WriteFile(
                fx.ScnDir() + "kept.scn",
                "BEGIN_DESC\r\n=== GENERATED FROM: baltic.kml ===\r\nEND_DESC\r\nBEGIN_SHIPS\r\n"
                "Tesk_1:Teski\r\n  TARGET Skane\r\nEND\r\nEND_SHIPS\r\n");
        });
        TGeToOrbPage* page = w.Page;
        TDlgMain* window = w.Open->Window.get();
        QVERIFY(w.Exposed());
        TScriptedPrompt& prompt = w.Prompt();
        QCOMPARE(page->cbSaveOrbFiles->currentText(), QString("kept.scn"));
        // Nothing changed: nothing is asked.
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "kept.scn");
        QVERIFY(prompt.UnsavedQuestions.isEmpty());

        DragMissileToTarget(page, 1, 1); // Tesk_2 to Gotland, not saved
        const auto pickKml = [&](const QString& name) {
            page->cbLoadGEFiles->setCurrentIndex(page->cbLoadGEFiles->findText(name));
            emit page->cbLoadGEFiles->activated(page->cbLoadGEFiles->currentIndex());
        };
        // Another KML file, cancelled: the page and its file stay.
        pickKml("other.kml");
        QCOMPARE(prompt.UnsavedQuestions,
                 QStringList{"The plan has changes that are not saved.\nSave them as \"kept.scn\"?"});
        QCOMPARE(page->cbLoadGEFiles->currentText(), QString("baltic.kml"));
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string("Gotland"));
        // Typing an existing scenario's name, cancelled: the name is taken, the work stays.
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "x");
        QCOMPARE(prompt.UnsavedQuestions.size(), 1); // "x" is no scenario: nothing to ask
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "kept.scn");
        QCOMPARE(prompt.UnsavedQuestions.size(), 2);
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string("Gotland"));
        QCOMPARE(page->cbSaveOrbFiles->currentText(), QString("kept.scn"));
        // Picking it from the list, discarded: it is read back.
        prompt.UnsavedAnswers = {TUnsavedChoice::Discard};
        const int kept = page->cbSaveOrbFiles->findText("kept.scn");
        page->cbSaveOrbFiles->setCurrentIndex(kept);
        emit page->cbSaveOrbFiles->activated(kept);
        QCOMPARE(prompt.UnsavedQuestions.size(), 3);
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string());
        QCOMPARE(page->Model.Waypoints.Tesks[0].TargetName, std::string("Skane"));

        // Refresh (F5 on any page), then closing: cancelled, nothing happens.
        DragMissileToTarget(page, 2, 0);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F5);
        QCOMPARE(prompt.UnsavedQuestions.size(), 4);
        QCOMPARE(page->Model.Waypoints.Tesks[2].TargetName, std::string("Bornholm"));
        const QByteArray ini = TFixture::ReadFile(w.Fx.Ini());
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QCOMPARE(prompt.UnsavedQuestions.size(), 5);
        QCOMPARE(TFixture::ReadFile(w.Fx.Ini()), ini); // the settings wait with the window
        // Saved from the question: the file holds the work, and the window closes.
        prompt.UnsavedAnswers = {TUnsavedChoice::Save};
        prompt.Answers = {true}; // "File already exists. Overwrite?"
        QVERIFY(window->close());
        QCOMPARE(prompt.Questions.last(), "File already exists. Overwrite?\n" + w.Fx.ScnDir() + "kept.scn");
        QVERIFY(TFixture::ReadFile(w.Fx.ScnDir() + "kept.scn").contains("Tesk_3:Teski\r\n"));
        QVERIFY(TFixture::ReadFile(w.Fx.Ini()).contains("File=kept.scn"));
    }

    // Saving from the question, the page goes on only when the save happened: a No to the overwrite
    // question keeps the window, Discard then closes it without writing the scenario.
    void ASaveThatDoesNotHappenKeepsTheWork() {
        TBalticWindow w;
        TGeToOrbPage* page = w.Page;
        TDlgMain* window = w.Open->Window.get();
        QVERIFY(w.Exposed());
        DragMissileToTarget(page, 0, 0);
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "fresh");
        w.Prompt().UnsavedAnswers = {TUnsavedChoice::Save};
        w.Prompt().Answers = {false}; // "Create new scenario file?"
        QVERIFY(!window->close());
        QVERIFY(!QFile::exists(w.Fx.ScnDir() + "fresh.scn"));
        QCOMPARE(w.Prompt().UnsavedQuestions,
                 QStringList{"The plan has changes that are not saved.\nSave them as \"fresh.scn\"?"});
        w.Prompt().UnsavedAnswers = {TUnsavedChoice::Discard};
        QVERIFY(window->close());
        QVERIFY(!QFile::exists(w.Fx.ScnDir() + "fresh.scn"));
    }

    // A scenario name with folder parts saves below the scenario folder and the page shows what it saved,
    // listed; a name that climbs out is refused with a warning, as the other bad names are.
    void NamesWithFolderPartsShowWhatWasSavedAndNeverLeaveTheFolder() {
        TBalticWindow w([](const TFixture& fx) {
            QDir().mkpath(fx.ScnDir() + "sub");
            TFixture::WriteFile(
                fx.ScnDir() + "other.scn",
                "BEGIN_DESC\r\n=== GENERATED FROM: baltic.kml ===\r\nEND_DESC\r\nBEGIN_SHIPS\r\n"
                "Tesk_1:Teski\r\n  TARGET Skane\r\nEND\r\nEND_SHIPS\r\n");
        });
        TGeToOrbPage* page = w.Page;
        QVERIFY(w.Exposed());
        DragMissileToTarget(page, 1, 1);
        page->mOrbDescr->setPlainText("My edits");
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "sub/plan7");
        w.Prompt().Answers = {true};
        QTest::mouseClick(page->btnSaveOrbFile, Qt::LeftButton);
        QVERIFY(QFile::exists(w.Fx.ScnDir() + "sub/plan7.scn"));
        QCOMPARE(page->cbSaveOrbFiles->currentText(), QString("sub/plan7.scn"));
        QVERIFY(page->cbSaveOrbFiles->findText("sub/plan7.scn") >= 0);
        QCOMPARE(page->mOrbDescr->toPlainText(), QString("My edits"));
        QCOMPARE(page->Model.Waypoints.Tesks[1].TargetName, std::string("Gotland"));

        for (const QString name : {"../../escape", "sub/../../escape"}) {
            TypeInto(page->cbSaveOrbFiles->lineEdit(), name);
            QVERIFY2(page->stGEtoOrbWarnings->text().startsWith(
                         "- Scenario file name leads out of the scenario folder: \"" + name + "\"!\r\n"),
                     qPrintable(page->stGEtoOrbWarnings->text()));
            QVERIFY(!page->btnSaveOrbFile->isEnabled());
        }
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "   ");
        QVERIFY(
            page->stGEtoOrbWarnings->text().startsWith("- Scenario file name is not valid: \"   \"!\r\n"));
        QVERIFY(!page->btnSaveOrbFile->isEnabled());
    }

    // A placemark named as a launch site without a point is named on the page, and said to have none.
    void ALaunchSiteWithoutAPointIsNamed() {
        TBalticWindow w([](const TFixture& fx) {
            TFixture::WriteFile(fx.KmlDir() + "baltic.kml",
                                "<?xml version=\"1.0\"?><kml><Document>"
                                "<Placemark><name>Tesk_North</name></Placemark>"
                                "<Placemark><name>Tesk_1</name><Point><coordinates>13.4,54.1,0</coordinates>"
                                "</Point></Placemark>"
                                "<Placemark><name>Skane</name><Point><coordinates>13.5,55.8,0</coordinates>"
                                "</Point></Placemark></Document></kml>");
        });
        QVERIFY(w.Exposed());
        QVERIFY(w.Page->stGEtoOrbWarnings->text().contains(
            "- Launch site \"Tesk_North\" is left out: it has no point!\r\n"));
        QCOMPARE(w.Page->lbTesks->count(), 1);
    }

    void ErrorsInsideEventsNameTheFileAndKeepTheWindow() {
        TFixture fx;
        fx.WriteSourceKml("a.kml");
        fx.WriteSourceKml("b.kml");
        fx.WriteIni(1, fx.KmlDir(), fx.ScnDir(), fx.ResultsDir(), "a.kml");
        TOpenWindow w(fx.Ini());
        TGeToOrbPage* page = w.Page;
        QVERIFY(QTest::qWaitForWindowExposed(w.Window.get()));
        // The file turned into garbage after the folder check listed it.
        TFixture::WriteFile(fx.KmlDir() + "b.kml", "<kml><Document><Placemark>\x01\x02 not closed");
        page->cbLoadGEFiles->setCurrentIndex(page->cbLoadGEFiles->findText("b.kml"));
        emit page->cbLoadGEFiles->activated(page->cbLoadGEFiles->currentIndex());
        QCOMPARE(w.Prompt.Errors.size(), 1);
        QVERIFY2(w.Prompt.Errors[0].contains("b.kml"), qPrintable(w.Prompt.Errors[0]));
        QCOMPARE(page->lbTesks->count(), 0);
        // The window goes on: the other file still loads and plans.
        page->cbLoadGEFiles->setCurrentIndex(page->cbLoadGEFiles->findText("a.kml"));
        emit page->cbLoadGEFiles->activated(page->cbLoadGEFiles->currentIndex());
        QCOMPARE(page->lbTesks->count(), 3);

        // A scenario with a value that is not a number is read as far as it goes, and reported.
        TFixture::WriteFile(
            fx.ScnDir() + "a.scn",
            "BEGIN_DESC\r\n=== GENERATED FROM: a.kml ===\r\nEND_DESC\r\nBEGIN_ENVIRONMENT\r\n"
            "  Date MJD soon\r\nEND_ENVIRONMENT\r\nBEGIN_SHIPS\r\nTesk_1:Teski\r\n  TARGET Skane\r\nEND\r\n");
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "a.scn");
        QCOMPARE(w.Prompt.Errors.size(), 2);
        QVERIFY2(w.Prompt.Errors[1].contains("a.scn"), qPrintable(w.Prompt.Errors[1]));
        // Choosing the KML file again, its list picks that scenario and reads it: the same report, once.
        emit page->cbLoadGEFiles->activated(page->cbLoadGEFiles->currentIndex());
        QCOMPARE(page->cbSaveOrbFiles->currentText(), QString("a.scn"));
        QCOMPARE(w.Prompt.Errors.size(), 3);
        QCOMPARE(w.Prompt.Errors[2], w.Prompt.Errors[1]);

        // A save into a folder that does not exist fails with the file's name; nothing is written.
        DragMissileToTarget(page, 0, 0);
        TypeInto(page->cbSaveOrbFiles->lineEdit(), "missing/plan");
        w.Prompt.Answers = {true};
        QTest::mouseClick(page->btnSaveOrbFile, Qt::LeftButton);
        QCOMPARE(w.Prompt.Errors.size(), 4);
        QVERIFY2(w.Prompt.Errors[3].contains("plan.scn"), qPrintable(w.Prompt.Errors[3]));
        QVERIFY(!QDir(fx.ScnDir() + "missing").exists());
        w.Window->close();
    }
};

QTEST_MAIN(TTargetingTest)
#include "targeting_test.moc"
