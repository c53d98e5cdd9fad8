#pragma once
// A project of the host and its components.

#include <memory>
#include <string>

#include "host/code_module.h"
#include "host/code_pane.h"
#include "base/result.h"

namespace trawlex::host {

class VBComponent {
  public:
    virtual ~VBComponent() = default;
    virtual Result<std::string> Name() const = 0;
    // Fails for a component without code (a resource, a designer without a module).
    virtual Result<std::shared_ptr<host::CodeModule>> CodeModule() = 0;
    // The component's code pane, made (not yet shown) when none is open. Fails for a
    // component without code.
    virtual Result<std::shared_ptr<host::CodePane>> CodePane() = 0;
};

// A project's components in host order.
class VBComponents {
  public:
    virtual ~VBComponents() = default;
    virtual Result<int> Count() const = 0;
    // 1-based; fails outside 1..Count.
    virtual Result<std::shared_ptr<VBComponent>> Item(int index) = 0;
};

class VBProject {
  public:
    virtual ~VBProject() = default;
    virtual Result<std::string> Name() const = 0;
    virtual Result<std::shared_ptr<host::VBComponents>> VBComponents() = 0;
};

}  // namespace trawlex::host
