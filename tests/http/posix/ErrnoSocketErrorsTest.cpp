#include "platform/posix/ErrnoSocketErrors.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

TEST(SocketErrors, PosixNumbersBecomeTheClassicSocketNumbers)
{
    struct Case {
        int errno_value;
        int code;
    } cases[] = {
        {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060}, {ECONNRESET, 10054}, {ECONNABORTED, 10053},
        {EPIPE, 10058},        {ESHUTDOWN, 10058}, {EHOSTUNREACH, 10065}, {EWOULDBLOCK, 10035},
        {EMFILE, 10024},       {ENOTEMPTY, 10066},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SocketErrorFromErrno(c.errno_value), c.code) << c.errno_value;
}

} // namespace
