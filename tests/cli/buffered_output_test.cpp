#include "cli/buffered_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace trawlex::cli {
namespace {

class TempFile {
  public:
    TempFile() {
        const char* dir = std::getenv("TMPDIR");
        path_ = std::string(dir ? dir : "/tmp") + "/trawlex-out-XXXXXX";
        fd_ = ::mkstemp(path_.data());
    }
    ~TempFile() {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    int fd() const { return fd_; }
    std::string Contents() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

  private:
    std::string path_;
    int fd_ = -1;
};

TEST(BufferedOutput, KeepsEveryByteInOrderAcrossBufferBoundaries) {
    TempFile file;
    ASSERT_GE(file.fd(), 0);
    std::string expected;
    {
        BufferedOutput out(file.fd(), 16);
        for (int i = 0; i < 100; ++i) {
            const std::string piece = "row " + std::to_string(i) + "\n";
            out.Append(piece);
            expected += piece;
            out.Append('.');
            expected += '.';
        }
        const std::string big(100, 'B');  // larger than the buffer: written straight through
        out.Append(big);
        expected += big;
        out.Append("tail");
        expected += "tail";
        for (int i = 0; i < 10; ++i) {
            out.AppendWith([&](std::string& buffer) { buffer += "direct " + std::to_string(i); });
            expected += "direct " + std::to_string(i);
        }
    }  // the destructor flushes
    EXPECT_EQ(file.Contents(), expected);
}

TEST(BufferedOutput, HoldsSmallWritesUntilFlushed) {
    TempFile file;
    BufferedOutput out(file.fd());
    out.Append("held");
    EXPECT_EQ(file.Contents(), "");
    out.Flush();
    EXPECT_EQ(file.Contents(), "held");
    EXPECT_FALSE(out.Failed());
}

TEST(BufferedOutput, ReportsAFailedWrite) {
    const int readOnly = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(readOnly, 0);
    BufferedOutput out(readOnly);
    out.Append("lost");
    out.Flush();
    EXPECT_TRUE(out.Failed());
    EXPECT_FALSE(out.Error().empty());
    ::close(readOnly);
}

}  // namespace
}  // namespace trawlex::cli
