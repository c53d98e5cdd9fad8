#include "installer/installer_texts.h"

namespace trawlex::installer {

namespace {

std::string Describe(const registration::StepFailure& failure) {
    return failure.step + ": " + failure.description;
}

}  // namespace

std::string InstallFailedMessage(const registration::Outcome& outcome) {
    const registration::StepFailure& failure = outcome.last();
    return "インストールは失敗しました\nエラー:" + Describe(failure) +
           "(エラーコード=" + std::to_string(failure.number) +
           ")\n\nVisual Basic起動中の場合は一旦終了して下さい";
}

std::string FailedStepLines(const registration::Outcome& outcome) {
    std::string lines;
    for (const registration::StepFailure& failure : outcome.failures()) {
        lines += Describe(failure) + " (error " + std::to_string(failure.number) + ")\n";
    }
    return lines;
}

}  // namespace trawlex::installer
