#pragma once
// SetFont: the result lists' lettering from the settings "optFont(1)", "optFont(2)",
// "FontName", "FontSize", or from the host editor's own font.

#include <QFont>
#include <QList>

namespace trawlex::host {
class HostApp;
}

namespace trawlex::window {

class ResultList;

// The window font after applying the settings: unchanged, the host editor's font, or the
// font named in the settings. Values that are missing or refused leave that property.
QFont ResultFont(const QFont& windowFont, trawlex::host::HostApp* host);

// Applies ResultFont to `windowFont` and copies it into every list, lowest index first.
void SetFont(QFont& windowFont, trawlex::host::HostApp* host, const QList<ResultList*>& lists);

}  // namespace trawlex::window
