#include "tests/fake_host/fake_addins.h"

#include "tests/fake_host/fake_state.h"
#include "host/vb_code_reader.h"

namespace trawlex::host::fake {
namespace {

const char* BoolText(bool value) {
    return value ? "True" : "False";
}

class FakeAddinCollection : public Addins {
  public:
    explicit FakeAddinCollection(std::weak_ptr<FakeHostState> host) : host_(std::move(host)) {}

    Result<std::shared_ptr<Addin>> Item(std::string_view progId) override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "Addins.Item"));
        if (auto addin = FindAddin(*host_.lock(), progId)) return std::shared_ptr<Addin>(addin);
        return Failure{"No add-in \"" + std::string(progId) + "\" is registered"};
    }

  private:
    std::weak_ptr<FakeHostState> host_;
};

}  // namespace

std::shared_ptr<FakeAddin> FindAddin(const FakeHostState& state, std::string_view progId) {
    for (const auto& addin : state.addins) {
        if (SameIdentifier(addin->progId(), progId)) return addin;
    }
    return nullptr;
}

std::shared_ptr<Addins> MakeFakeAddins(std::weak_ptr<FakeHostState> host) {
    return std::make_shared<FakeAddinCollection>(std::move(host));
}

FakeAddin::FakeAddin(std::weak_ptr<FakeHostState> host, std::string progId, bool installed,
                     bool connected)
    : host_(std::move(host)),
      progId_(std::move(progId)),
      installed_(installed),
      connected_(connected) {}

Result<std::string> FakeAddin::ProgId() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "Addin.ProgId"));
    return progId_;
}

Result<bool> FakeAddin::Installed() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "Addin.Installed"));
    return installed_;
}

Status FakeAddin::SetInstalled(bool installed) {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "Addin.SetInstalled"));
    installed_ = installed;
    changes_.push_back(std::string("Installed=") + BoolText(installed));
    return {};
}

Result<bool> FakeAddin::Connect() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "Addin.Connect"));
    return connected_;
}

Status FakeAddin::SetConnect(bool connect) {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "Addin.SetConnect"));
    if (connect != connected_ && onConnect_) {
        if (Status status = onConnect_(connect); !status) return status;
    }
    connected_ = connect;
    changes_.push_back(std::string("Connect=") + BoolText(connect));
    return {};
}

}  // namespace trawlex::host::fake
