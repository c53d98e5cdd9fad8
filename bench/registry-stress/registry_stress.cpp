// registry-stress write KEY            writes V0, V1, ... under HKCU\Software\Stress\KEY
//                                      for ever and prints each number once acknowledged
// registry-stress check                exit 0 when both hives parse, 1 otherwise
// registry-stress verify ACKDIR        every ACKDIR/KEY file lists acknowledged numbers of
//                                      KEY; prints "acked N lost M" and exits 1 if M > 0
//
// A writer cycles through kSlots value names, so value V(n % kSlots) must hold the last
// acknowledged n of that slot or a later one (written but killed before its ack).

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "platform/hive_file.h"
#include "platform/registry.h"

namespace {

using namespace trawlex::platform;

constexpr long kSlots = 50;
const std::string kPadding(200, '.');  // gives the hive some bulk to tear

std::string ValuePath(const std::string& key, long slot) {
    return "HKCU\\Software\\Stress\\" + key + "\\V" + std::to_string(slot);
}

int Write(const std::string& key) {
    for (long n = 0;; ++n) {
        trawlex::Status written =
            RegWrite(ValuePath(key, n % kSlots), std::to_string(n) + kPadding);
        if (!written) {
            std::fprintf(stderr, "write failed: %s\n", written.error().c_str());
            return 1;
        }
        const std::string ack = std::to_string(n) + "\n";
        if (::write(STDOUT_FILENO, ack.data(), ack.size()) != static_cast<ssize_t>(ack.size()))
            return 1;
    }
}

int Check() {
    int failures = 0;
    for (HiveId hive : {HiveId::CurrentUser, HiveId::LocalMachine}) {
        trawlex::Result<RegHive> parsed = LoadHive(hive);
        if (!parsed) {
            std::printf("parse failure: %s\n", parsed.error().c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}

int Verify(const std::string& ackDir) {
    long acked = 0, lost = 0;
    DIR* dir = opendir(ackDir.c_str());
    if (!dir) return 2;
    while (dirent* entry = readdir(dir)) {
        const std::string key = entry->d_name;
        if (key == "." || key == "..") continue;
        std::map<long, long> lastAcked;  // slot -> number
        std::ifstream file(ackDir + "/" + key);
        long n = 0;
        while (file >> n) {
            ++acked;
            lastAcked[n % kSlots] = n;
        }
        for (const auto& [slot, number] : lastAcked) {
            trawlex::Result<std::string> stored = RegRead(ValuePath(key, slot));
            long value = stored ? std::atol(stored->c_str()) : -1;
            if (!stored || value % kSlots != slot || value < number) {
                std::printf("lost: %s slot %ld acked %ld stored %s\n", key.c_str(), slot, number,
                            stored ? stored->substr(0, 20).c_str() : stored.error().c_str());
                ++lost;
            }
        }
    }
    closedir(dir);
    std::printf("acked %ld lost %ld\n", acked, lost);
    return lost ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "write" && argc == 3) return Write(argv[2]);
    if (command == "check" && argc == 2) return Check();
    if (command == "verify" && argc == 3) return Verify(argv[2]);
    std::fprintf(stderr, "usage: registry-stress write KEY | check | verify ACKDIR\n");
    return 2;
}
