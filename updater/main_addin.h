#pragma once
// The main add-in as the updater reaches it: only through the host's add-in collection.

namespace trawlex::host {
class HostApp;
}

namespace trawlex::updater {

// Sets Installed and then Connect of "Trawlex.Connect" to `loaded`: false lets its library
// go so it can be replaced, true loads the library in place. Whatever the host refuses is
// passed over. Nothing happens without a host.
void SetMainAddinLoaded(host::HostApp* host, bool loaded);

}  // namespace trawlex::updater
