#include "qt/font_setup.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <mutex>

namespace kvd {

namespace {

const QString kNotoSerifCjk = QStringLiteral("Noto Serif CJK SC");
const QString kNotoSansCjk = QStringLiteral("Noto Sans CJK SC");

// Proportions of the faces the program names, taken from their own font tables
// (units per em, ascent and descent, line gap, average character width),
// each as a fraction of the character cell (ascent + descent).
struct FaceProfile {
    bool chinese;
    bool sans;
    double em;
    double ascent;
    double external_leading;
    double average_width;
};

// Times New Roman: 2048 units per em, ascent 1825, descent 443, line gap 87,
// average width 821.
constexpr double kTimesCell = 1825.0 + 443.0;
constexpr FaceProfile kTimes = {
    false, false, 2048.0 / kTimesCell, 1825.0 / kTimesCell, 87.0 / kTimesCell, 821.0 / kTimesCell};
// The Chinese system faces: 256 units per em, ascent 220, descent 36, no line
// gap, half-width Latin.
constexpr FaceProfile kSong = {true, false, 1.0, 220.0 / 256.0, 0.0, 0.5};
constexpr FaceProfile kHei = {true, true, 1.0, 220.0 / 256.0, 0.0, 0.5};

struct NamedFace {
    const char* name;
    const FaceProfile* profile;
};

constexpr NamedFace kFaces[] = {
    {"Times New Roman", &kTimes},
    {"宋体", &kSong},
    {"SimSun", &kSong},
    {"新宋体", &kSong},
    {"NSimSun", &kSong},
    {"仿宋", &kSong},
    {"仿宋_GB2312", &kSong},
    {"FangSong", &kSong},
    {"楷体", &kSong},
    {"楷体_GB2312", &kSong},
    {"KaiTi", &kSong},
    {"黑体", &kHei},
    {"SimHei", &kHei},
};

const FaceProfile* find_profile(const QString& face) {
    for (const NamedFace& named : kFaces) {
        if (face.compare(QString::fromUtf8(named.name), Qt::CaseInsensitive) == 0) {
            return named.profile;
        }
    }
    return nullptr;
}

bool have_gui_application() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// Gives the QFont an em of `em` device units: through the point size where the
// device's resolution is known (fractional sizes), else as whole pixels.
void set_em_size(QFont& font, double em, const QPaintDevice* device) {
    const int dpi = device ? device->logicalDpiY() : 0;
    if (dpi > 0) {
        font.setPointSizeF(std::max(em, 0.01) * 72.0 / dpi);
    } else {
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    }
}

}  // namespace

QStringList program_font_faces() {
    QStringList faces;
    for (const NamedFace& named : kFaces) faces << QString::fromUtf8(named.name);
    return faces;
}

QString chinese_serif_family() {
    if (!have_gui_application()) return kNotoSerifCjk;
    // Asked once: the font database's answer takes longer than drawing a
    // label, and every font made for the screen asks.
    static const QString family =
        QFontDatabase::hasFamily(kNotoSerifCjk) ? kNotoSerifCjk : kNotoSansCjk;
    return family;
}

QString chinese_sans_family() {
    return kNotoSansCjk;
}

void install_font_substitutions() {
    static std::mutex mutex;
    static bool installed = false;
    const std::lock_guard lock(mutex);
    // Without a QGuiApplication the font database cannot be asked; try again later.
    if (installed || !have_gui_application()) return;
    const QString serif = chinese_serif_family();
    const QString sans = chinese_sans_family();
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), serif});
    for (const NamedFace& named : kFaces) {
        if (named.profile->chinese) {
            QFont::insertSubstitution(QString::fromUtf8(named.name),
                                      named.profile->sans ? sans : serif);
        }
    }
    installed = true;
}

DeviceFont make_device_font(const Font& font, double device_per_unit, const QPaintDevice* device) {
    install_font_substitutions();
    const QString face =
        QString::fromUtf8(font.face.data(), static_cast<qsizetype>(font.face.size()));
    const FaceProfile* profile = find_profile(face);

    DeviceFont out;
    // Characters the face lacks (Chinese in "Times New Roman") come from the
    // Chinese stand-in, never from a face picked by chance.
    const QString fallback =
        profile && profile->sans ? chinese_sans_family() : chinese_serif_family();
    // The substitutes are listed explicitly: Qt does not consult them for a
    // family that is not the last of the list.
    QStringList families;
    if (!face.isEmpty()) families << face << QFont::substitutes(face);
    families << fallback;
    families.removeDuplicates();
    out.font.setFamilies(families);
    out.font.setWeight(
        static_cast<QFont::Weight>(font.weight <= 0 ? 400 : std::min(font.weight, 1000)));
    out.font.setItalic(font.italic);
    out.font.setUnderline(font.underline);

    double em_per_cell = kTimes.em;
    double ascent_per_cell = kTimes.ascent;
    double leading_per_cell = 0.0;
    double average_per_cell = kTimes.average_width;
    if (profile) {
        em_per_cell = profile->em;
        ascent_per_cell = profile->ascent;
        leading_per_cell = profile->external_leading;
        average_per_cell = profile->average_width;
    } else {
        // Another face: its own proportions, measured at a large size.
        constexpr int kProbe = 1000;
        QFont probe = out.font;
        probe.setPixelSize(kProbe);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0) {
            em_per_cell = kProbe / cell;
            ascent_per_cell = metrics.ascent() / cell;
            leading_per_cell = std::max(0.0, metrics.leading()) / cell;
            average_per_cell = metrics.averageCharWidth() / cell;
        }
    }

    // A positive height is the cell height, a negative one the character (em)
    // height, and 0 the default size, as in a Windows logical font.
    double cell = 0;
    if (font.height > 0) {
        cell = font.height * device_per_unit;
    } else if (font.height < 0) {
        cell = -font.height * device_per_unit / em_per_cell;
    } else {
        const int dpi = device ? device->logicalDpiY() : 96;
        cell = 12.0 * dpi / 96.0 / em_per_cell;
    }
    out.cell_height = cell;
    out.ascent = cell * ascent_per_cell;
    out.external_leading = cell * leading_per_cell;
    out.average_char_width = cell * average_per_cell;
    set_em_size(out.font, cell * em_per_cell, device);
    return out;
}

}  // namespace kvd
