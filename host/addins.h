#pragma once
// The host's collection of registered add-ins.

#include <memory>
#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex::host {

class Addin {
  public:
    virtual ~Addin() = default;
    virtual Result<std::string> ProgId() const = 0;
    // Whether the add-in is loaded at the host's start.
    virtual Result<bool> Installed() const = 0;
    virtual Status SetInstalled(bool installed) = 0;
    // Whether the add-in is connected now; setting it connects or disconnects it.
    virtual Result<bool> Connect() const = 0;
    virtual Status SetConnect(bool connect) = 0;
};

class Addins {
  public:
    virtual ~Addins() = default;
    // By ProgID (compared ignoring ASCII case); fails for an add-in the host does not know.
    virtual Result<std::shared_ptr<Addin>> Item(std::string_view progId) = 0;
};

}  // namespace trawlex::host
