#include "platform/qt_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace hvr::platform {

namespace {

// The first of the candidates that is installed, then the rest in order.
QStringList installedFirst(const QStringList& candidates) {
    const QStringList families = QFontDatabase::families();
    QStringList ordered;
    for (const QString& name : candidates)
        if (families.contains(name, Qt::CaseInsensitive)) ordered << name;
    for (const QString& name : candidates)
        if (!ordered.contains(name)) ordered << name;
    return ordered;
}

} // namespace

void installChineseFontSubstitutes() {
    // Windows has the faces themselves (SimSun, NSimSun, SimHei), with Microsoft YaHei after
    // them; elsewhere Ming faces are the Song of Chinese typography, and the monospaced Zen Hei
    // keeps columns.
    const QStringList song = installedFirst(
        {"SimSun", "AR PL UMing CN", "WenQuanYi Zen Hei Mono", "Noto Serif CJK SC", "Microsoft YaHei"});
    const QStringList songMono = installedFirst(
        {"NSimSun", "WenQuanYi Zen Hei Mono", "AR PL UMing CN", "Noto Sans Mono CJK SC", "Microsoft YaHei"});
    const QStringList hei = installedFirst(
        {"SimHei", "Microsoft YaHei", "WenQuanYi Zen Hei", "Noto Sans CJK SC", "WenQuanYi Zen Hei Mono"});
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("新宋体"), songMono);
    QFont::insertSubstitutions(QStringLiteral("NSimSun"), songMono);
    QFont::insertSubstitutions(QStringLiteral("黑体"), hei);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), hei);
}

} // namespace hvr::platform
