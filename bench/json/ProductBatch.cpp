#include "bench/json/ProductBatch.h"

#include <cstdint>
#include <cstdio>

namespace {

// A fixed pseudo-random sequence, so every run parses the same document.
class Sequence {
public:
    uint32_t Next(uint32_t bound)
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(state_ >> 33) % bound;
    }

private:
    uint64_t state_ = 20240601;
};

const char16_t title_words[][6] = {u"夏季", u"新款", u"女装", u"连衣裙", u"纯棉", u"短袖", u"男士",
                                   u"休闲", u"运动鞋", u"韩版", u"修身", u"包邮", u"特价", u"正品",
                                   u"加厚", u"保暖", u"时尚", u"百搭", u"透气", u"儿童"};
const char16_t brand_words[][6] = {u"森马", u"美特斯", u"李宁", u"安踏", u"波司登", u"恒源祥", u"七匹狼", u"361度"};

void append_utf8(std::string& out, char16_t unit)
{
    if (unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | (unit >> 6));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (unit >> 12));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

void append_text(std::string& out, const char16_t* word, bool escaped)
{
    for (; *word; ++word) {
        if (escaped && *word >= 0x80) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(*word));
            out += buffer;
        } else {
            append_utf8(out, *word);
        }
    }
}

} // namespace

std::string MakeProductBatch()
{
    Sequence random;
    std::string out = "{\"total_results\":1187,\"total_page\":25,\"cat_id\":\"50100982\",\"sort\":\"default\","
                      "\"item_list\":{\"items\":[\n";
    for (int i = 0; i < 48; ++i) {
        bool escaped = i % 2 == 0;
        uint32_t id = 10000000 + random.Next(90000000);
        uint32_t price = 50 + random.Next(900);
        char buffer[256];
        out += i ? ",\n{" : "{";
        out += "\"title\":\"";
        for (int w = 0; w < 12; ++w)
            append_text(out, title_words[random.Next(20)], escaped);
        out += ' ';
        out += std::to_string(1000 + random.Next(9000));
        out += "\",\"price\":\"";
        std::snprintf(buffer, sizeof buffer, "%u.00\",\"promotion_price\":\"%u.%02u\",", price, price * 6 / 10,
                      random.Next(100));
        out += buffer;
        std::snprintf(buffer, sizeof buffer, "\"volume\":%u,\"comment_num\":%u,\"brand_name\":\"", random.Next(5000),
                      random.Next(20000));
        out += buffer;
        append_text(out, brand_words[random.Next(8)], escaped);
        std::snprintf(buffer, sizeof buffer,
                      "\",\"pic_url\":\"http:\\/\\/img%u.picture-host.example\\/bao\\/uploaded\\/i%u\\/%u_%u.jpg\","
                      "\"detail_url\":\"http:\\/\\/item.shop.example\\/item.htm?id=%u&ali_trackid=2:mm_%u&spm=",
                      random.Next(4) + 1, random.Next(4) + 1, id, random.Next(100000), id, random.Next(1000000));
        out += buffer;
        // Click-tracking tokens make up much of a real product address.
        static const char token_chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
        for (int k = 0; k < 160; ++k)
            out += token_chars[random.Next(64)];
        out += "\",";
        std::snprintf(buffer, sizeof buffer, "\"tag_lq\":\"%s\",\"tag_hot\":\"%s\",\"tag_new\":\"%s\"}",
                      random.Next(3) == 0 ? "1" : "", random.Next(4) == 0 ? "1" : "", random.Next(5) == 0 ? "1" : "");
        out += buffer;
    }
    out += "\n],\"count\":48}}";
    return out;
}
