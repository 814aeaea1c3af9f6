// Arbitrary bytes as a server's answers to two requests over one connection,
// cut into receives at places chosen by the first byte.
#include "base/TMemoryStream.h"
#include "http/MemoryChannel.h"
#include "http/http_client.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    unsigned step = data[0] % 64 + 1;
    std::string answer(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string> pieces;
    for (size_t at = 0; at < answer.size(); at += step)
        pieces.push_back(answer.substr(at, step));

    auto opener = std::make_unique<MemoryOpener>();
    opener->Push(std::make_unique<MemoryChannel>(std::move(pieces), data[0] & 0x80 ? MemoryChannel::AtEnd::StaySilent
                                                                                    : MemoryChannel::AtEnd::Close));
    opener->Push(std::make_unique<MemoryChannel>(std::vector<std::string>{answer}));
    TNxHTTP http(std::move(opener));
    for (const char* url : {"http://fuzz.example/a/b?c=d", "http://fuzz.example/a/e"}) {
        TMemoryStream stream;
        try {
            http.Get(url, stream);
        } catch (const Exception&) {
        }
    }
    return 0;
}
