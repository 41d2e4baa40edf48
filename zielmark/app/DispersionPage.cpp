#include "DispersionPage.h"

#include "Prompt.h"
#include "UiKit.h"
#include "Unit_DispersionFolder.h"
#include "Unit_Files.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace {

QString Metres(const QJsonValue& v) {
    return v.isDouble() ? QString::number(v.toDouble(), 'f', 0) + " m" : "-";
}

QString Radius(const QJsonObject& r) {
    return Metres(r["value"]) + " (" +
           (r["low"].isDouble() ? QString::number(r["low"].toDouble(), 'f', 0) : "-") + " to " +
           (r["high"].isDouble() ? QString::number(r["high"].toDouble(), 'f', 0) : "-") + ")";
}

QString Counts(const QJsonObject& counts) {
    QString text;
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        text += "  " + it.key() + ": " + QString::number(c["flights"].toInt()) + " (" +
                QString::number(100 * c["share"].toDouble(), 'f', 1) + " %)\n";
    }
    return text;
}

} // namespace

QString DispersionFigures(const QJsonObject& m) {
    const QJsonObject s = m["statistics"].toObject();
    QString t = m["missile"].toString() + " to " + m["target"].toString() + "\n";
    if (m["precise_cut_off"].toBool()) t += "Precise cut-off\n";
    t += "Runs " + QString::number(m["runs"].toInt()) + ", reached the ground " +
         QString::number(m["reached_ground"].toInt()) + ", failures " +
         QString::number(m["failures"].toInt()) + "\n";
    t += Counts(m["failures_by_kind"].toObject());
    if (!m["failures_by_phase"].toObject().isEmpty())
        t += "By phase:\n" + Counts(m["failures_by_phase"].toObject());
    if (s["flights"].toInt() == 0) return t + "\nNo flight without a failure.";
    const QJsonObject mean = s["mean_point"].toObject(), aboutMean = s["about_mean_point"].toObject(),
                      aboutTarget = s["about_target"].toObject();
    t += "\nOver " + QString::number(s["flights"].toInt()) + " flights without a failure:\n";
    t += "Mean point: " + Metres(mean["along"]) + " along,\n  " + Metres(mean["across"]) + " across\n";
    t += "Deviation: " + Metres(s["sd_along"]) + " along,\n  " + Metres(s["sd_across"]) + " across\n";
    t += "About the mean point:\n  CEP " + Radius(aboutMean["cep"].toObject()) + "\n  R90 " +
         Metres(aboutMean["r90"].toObject()["value"]) + ", R95 " +
         Metres(aboutMean["r95"].toObject()["value"]) + "\n";
    t += "About the target:\n  CEP " + Radius(aboutTarget["cep"].toObject()) + "\n  R90 " +
         Metres(aboutTarget["r90"].toObject()["value"]) + ", R95 " +
         Metres(aboutTarget["r95"].toObject()["value"]) + "\n";
    t += "Ellipses (68, 95, 99.7 %):\n";
    for (const QJsonValue& e : s["ellipses"].toArray()) {
        const QJsonObject o = e.toObject();
        t += "  " + QString::number(o["sigma"].toInt()) + " sigma " +
             QString::number(o["semi_major"].toDouble(), 'f', 0) + " x " +
             QString::number(o["semi_minor"].toDouble(), 'f', 0) + " m\n";
    }
    t += "  major axis " + QString::number(s["major_axis_from_launch_azimuth"].toDouble(), 'f', 1) +
         " deg right of the launch azimuth";
    return t;
}

TDispersionPage::TDispersionPage(QWidget* parent, TPrompt& prompt) : QWidget(parent), Prompt(prompt) {
    resize(772, 610); // the window's page area, before the tabs first lay the page out
    btnOpenDispersion = MakeButton(this, "Open dispersion folder...", 8, 8, 200, 25);
    lblDispersionDir = new QLabel(this);
    lblDispersionDir->setGeometry(216, 10, 548, 21);
    lblDispersionDir->setAutoFillBackground(true); // a path, cut when long; the tooltip shows it whole
    lbMissiles = new QListWidget(this);
    lbMissiles->setGeometry(8, 44, 200, 120);
    stFigures = MakeStaticText(this, 8, 172, 200, 420);
    imgDispersion = new QLabel(this);
    imgDispersion->setGeometry(216, 44, 548, 438);
    imgDispersion->setAlignment(Qt::AlignCenter);
    imgDispersion->setWordWrap(true);
    imgDispersion->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    connect(btnOpenDispersion, &QPushButton::clicked, this, [this] { btnOpenDispersionClick(); });
    connect(lbMissiles, &QListWidget::currentRowChanged, this, [this] { lbMissilesClick(); });
}

void TDispersionPage::btnOpenDispersionClick() {
    const QString chosen = Prompt.BrowseForFolder(this, "Dispersion folder", Folder);
    if (!chosen.isEmpty()) OpenFolder(chosen);
}

bool TDispersionPage::OpenFolder(const QString& folder) {
    lbMissiles->clear();
    Missiles = {};
    imgDispersion->clear();
    stFigures->clear();
    Folder = folder;
    lblDispersionDir->setText(folder);
    lblDispersionDir->setToolTip(folder);
    const QString file = QString::fromStdString(zm::JoinPath(folder.toStdString(), "dispersion.json"));
    QFile in(file);
    QJsonParseError error{};
    const QJsonDocument doc = in.open(QIODevice::ReadOnly)
                                  ? QJsonDocument::fromJson(in.read(zm::MaxInputFileBytes), &error)
                                  : QJsonDocument();
    if (!doc.isObject()) {
        imgDispersion->setText(file + (in.isOpen() ? ": not a dispersion file (" + error.errorString() + ")"
                                                   : ": cannot be read"));
        return false;
    }
    Missiles = doc.object()["missiles"].toArray();
    for (const QJsonValue& m : Missiles)
        lbMissiles->addItem(m.toObject()["missile"].toString());
    if (Missiles.isEmpty())
        imgDispersion->setText(file + ": no missile in it");
    else
        lbMissiles->setCurrentRow(0);
    return true;
}

void TDispersionPage::lbMissilesClick() {
    const int row = lbMissiles->currentRow();
    if (row < 0 || row >= Missiles.size()) return;
    const QJsonObject m = Missiles[row].toObject();
    stFigures->setText(DispersionFigures(m));
    const std::string base = zm::DispersionPictureName(size_t(row), m["missile"].toString().toStdString());
    const QString png = QString::fromStdString(zm::JoinPath(Folder.toStdString(), base + ".png"));
    QPixmap picture;
    if (picture.load(png))
        imgDispersion->setPixmap(picture.scaled(imgDispersion->size() - QSize(4, 4), Qt::KeepAspectRatio,
                                                Qt::SmoothTransformation));
    else
        imgDispersion->setText(png + ": no picture (the SVG beside it opens in a web browser)");
}
