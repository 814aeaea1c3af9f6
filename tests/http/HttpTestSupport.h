#pragma once

#include "base/TMemoryStream.h"
#include "http/MemoryChannel.h"
#include "http/http_client.h"

#include <memory>
#include <random>
#include <string>
#include <vector>

// How an answer is cut into receives: framing faults live at the edges.
enum class Cut { Whole, ByteByByte, RandomPieces };

inline std::vector<std::string> cut_answer(const std::string& bytes, Cut cut, unsigned seed)
{
    std::vector<std::string> pieces;
    if (cut == Cut::Whole) {
        pieces.push_back(bytes);
    } else if (cut == Cut::ByteByByte) {
        for (char c : bytes)
            pieces.emplace_back(1, c);
    } else {
        std::mt19937 random(seed);
        for (size_t at = 0; at < bytes.size();) {
            size_t n = std::uniform_int_distribution<size_t>(1, 97)(random);
            pieces.push_back(bytes.substr(at, n));
            at += n;
        }
    }
    return pieces;
}

// A client whose connections are answers held in memory.
struct MemoryClient {
    MemoryOpener* opener;
    std::unique_ptr<TNxHTTP> http;

    MemoryClient()
    {
        auto owned = std::make_unique<MemoryOpener>();
        opener = owned.get();
        http = std::make_unique<TNxHTTP>(std::move(owned));
    }

    // Queues one connection that answers with pieces; returns its sent-bytes log.
    std::shared_ptr<const std::string> Answer(std::vector<std::string> pieces,
                                              MemoryChannel::AtEnd at_end = MemoryChannel::AtEnd::Close)
    {
        auto channel = std::make_unique<MemoryChannel>(std::move(pieces), at_end);
        auto log = channel->SentLog();
        opener->Push(std::move(channel));
        return log;
    }
};

inline std::string body_text(const TMemoryStream& stream)
{
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}
