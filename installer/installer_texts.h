#pragma once
// The installer's titles and message texts, and the outcome messages of its operations.

#include <string>

#include "registration/outcome.h"

namespace trawlex::installer {

inline constexpr const char* kProgramTitle = "Trawlex Plus Installer";
inline constexpr const char* kSplashCaption = "Trawlex Installer";

inline constexpr const char* kInstallSucceeded = "インストール完了";
inline constexpr const char* kUninstallSucceeded = "Trawlexをアンインストールしました";
inline constexpr const char* kUninstallFailed =
    "Trawlexのアンインストールに失敗しました\n"
    "Visual BasicやMSOfficeを起動中の場合は、一旦終了して下さい。";
inline constexpr const char* kCancelQuestion = "インストールを中止します\nよろしいですか？";

// "インストールは失敗しました", "エラー:" with the failed step and its description,
// "(エラーコード=N)", and the advice to close Visual Basic. Only for a failed outcome.
std::string InstallFailedMessage(const registration::Outcome& outcome);

// One line per failed step: "<step>: <description> (error N)".
std::string FailedStepLines(const registration::Outcome& outcome);

}  // namespace trawlex::installer
