#pragma once
// The two editors the stand-in plays: the Visual Basic 6.0 environment and the Visual Basic
// Editor of an Office application. They differ only where the host interface says so.

#include <string>

namespace trawlex::vbide {

enum class Flavour { VisualBasic6, OfficeEditor };

// Where the flavour keeps its add-in records, one subkey per ProgID (no trailing '\').
inline std::string AddinsKey(Flavour f) {
    return f == Flavour::VisualBasic6 ? "HKCU\\Software\\Microsoft\\Visual Basic\\6.0\\Addins"
                                      : "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins";
}

// The root object's default value: only the Visual Basic 6.0 environment has one.
inline std::string DefaultValueOf(Flavour f) {
    return f == Flavour::VisualBasic6 ? "Microsoft Visual Basic" : "";
}

inline std::string TitleOf(Flavour f) {
    return f == Flavour::VisualBasic6 ? "Microsoft Visual Basic [design]"
                                      : "Microsoft Visual Basic for Applications";
}

}  // namespace trawlex::vbide
