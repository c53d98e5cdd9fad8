#pragma once
// What the fake host's objects share. Objects hold it weakly, so they may outlive the host
// (their members then fail) without keeping it alive.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/bitmap.h"
#include "tests/fake_host/fake_host.h"
#include "base/result.h"

namespace trawlex::host::fake {

struct FakeHostState {
    HostFlavour flavour = HostFlavour::VisualBasic6;
    std::map<std::string, std::string, std::less<>> failures;  // member → description
    std::optional<Bitmap> clipboard;
    std::string lastUsedPath;
    std::vector<std::shared_ptr<FakeProject>> projects;
    std::shared_ptr<FakeProject> activeProject;
    std::vector<std::shared_ptr<FakeCodePane>> openPanes;
    std::shared_ptr<FakeCodePane> activePane;
    std::vector<std::shared_ptr<FakeCommandBar>> bars;
    std::vector<std::shared_ptr<FakeAddin>> addins;
};

// Fails when the host is gone or a test made `member` ("Class.Member") fail.
Status CheckMember(const std::weak_ptr<FakeHostState>& host, const char* member);

Failure OutOfRange(const char* what, int index, int count);

std::shared_ptr<host::CodePanes> MakeFakeCodePanes(std::weak_ptr<FakeHostState> host);
std::shared_ptr<host::CommandBars> MakeFakeCommandBars(std::weak_ptr<FakeHostState> host);
std::shared_ptr<host::Events> MakeFakeEvents(std::weak_ptr<FakeHostState> host);
std::shared_ptr<host::Addins> MakeFakeAddins(std::weak_ptr<FakeHostState> host);
std::shared_ptr<FakeCommandBar> FindBar(const FakeHostState& state, std::string_view name);
std::shared_ptr<FakeAddin> FindAddin(const FakeHostState& state, std::string_view progId);

// Leaves a member (returning Status or Result<T>) with the failure of a check.
// clang-format off
#define TRAWLEX_RETURN_IF_FAILED(check) \
    if (::trawlex::Status status_ = (check); !status_) return ::trawlex::Failure{status_.error()}
// clang-format on

}  // namespace trawlex::host::fake
