#include "window/result_font.h"

#include <string>

#include "host/host_app.h"
#include "platform/registry.h"
#include "window/control_settings.h"
#include "window/result_list.h"

namespace trawlex::window {

namespace {

constexpr const char* kVb6FontKey = "HKCU\\Software\\Microsoft\\VBA\\Microsoft Visual Basic\\";
constexpr const char* kOfficeFontKey = "HKCU\\Software\\Microsoft\\VBA\\6.0\\Common\\";

bool SettingIsTrue(const char* key) {
    return ParseSettingBool(ReadSetting(QString::fromUtf8(key), QStringLiteral("False")))
        .value_or(false);
}

void ApplyName(QFont& font, const QString& name) {
    if (!name.trimmed().isEmpty()) font.setFamily(name);
}

void ApplySize(QFont& font, const QString& size) {
    bool ok = false;
    const double points = size.trimmed().toDouble(&ok);
    if (ok && points > 0) font.setPointSizeF(points);
}

bool IsVb6Host(host::HostApp* host) {
    if (!host) return false;
    const auto value = host->DefaultValue();
    return value.ok() && !value->empty();
}

}  // namespace

QFont ResultFont(const QFont& windowFont, host::HostApp* host) {
    QFont font = windowFont;
    if (SettingIsTrue("optFont(1)")) {
        const std::string key = IsVb6Host(host) ? kVb6FontKey : kOfficeFontKey;
        if (const auto face = platform::RegRead(key + "FontFace")) {
            ApplyName(font, QString::fromStdString(*face));
        }
        if (const auto height = platform::RegRead(key + "FontHeight")) {
            ApplySize(font, QString::fromStdString(*height));
        }
    } else if (SettingIsTrue("optFont(2)")) {
        ApplyName(font, ReadSetting(QStringLiteral("FontName"), font.family()));
        ApplySize(font,
                  ReadSetting(QStringLiteral("FontSize"), QString::number(font.pointSizeF())));
    }
    return font;
}

void SetFont(QFont& windowFont, host::HostApp* host, const QList<ResultList*>& lists) {
    windowFont = ResultFont(windowFont, host);
    for (ResultList* list : lists) {
        if (!list) continue;
        QFont listFont = list->font();
        listFont.setFamily(windowFont.family());
        listFont.setPointSizeF(windowFont.pointSizeF());
        list->SetListFont(listFont);
    }
}

}  // namespace trawlex::window
