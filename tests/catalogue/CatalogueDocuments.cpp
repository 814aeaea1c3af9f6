#include "tests/catalogue/CatalogueDocuments.h"

#include "base/TMemoryStream.h"
#include "http/http_client.h"
#include "json/VariantText.h"
#include "platform/CodePage.h"

#include <stdexcept>

nlohmann::ordered_json FetchJson(const std::string& base_url, const std::string& path)
{
    // The client's transport is tested on its own; what matters here is that
    // the answer is read by another JSON parser than the client's.
    TNxHTTP http;
    TMemoryStream body;
    http.Get(base_url + path, body);
    if (http.Response.ResponseCode != 200)
        throw std::runtime_error("cannot fetch " + path);
    const auto* bytes = body.Memory();
    return nlohmann::ordered_json::parse(bytes, bytes + body.Size());
}

std::string ShownText(const nlohmann::ordered_json& value)
{
    if (value.is_string())
        return Utf8ToAnsi(value.get<std::string>());
    if (value.is_number())
        return FloatToText(value.get<double>());
    throw std::runtime_error("not a shown value: " + value.dump());
}

const nlohmann::ordered_json& ProductsOf(const nlohmann::ordered_json& batch)
{
    // The fifth member of the root holds the container, whose first member is the list.
    auto member = batch.begin();
    std::advance(member, 4);
    return member->begin().value();
}

std::string CategoryDocument(const std::vector<std::pair<std::string, std::string>>& name_and_id)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& [name, id] : name_and_id)
        list.push_back({{"sub_cat_name", name}, {"sub_cat_id", id}});
    return nlohmann::ordered_json{{"list", list}}.dump();
}

std::string BatchDocumentText(const nlohmann::ordered_json& products, const std::string& total_results,
                              const std::string& total_page)
{
    // Member order matters here, so the text is written by hand.
    return "{\"total_results\":" + total_results + ",\"total_page\":" + total_page +
           ",\"a\":1,\"b\":2,\"items\":{\"list\":" + products.dump() + "}}";
}

nlohmann::ordered_json ProductJson(int id, const std::string& pic_url)
{
    return {{"title", "item " + std::to_string(id)},
            {"price", "10.00"},
            {"promotion_price", 9.9},
            {"volume", "5"},
            {"comment_num", "7"},
            {"brand_name", "brand"},
            {"pic_url", pic_url},
            {"detail_url", "http://example.invalid/item?id=" + std::to_string(id)},
            {"tag_lq", ""},
            {"tag_hot", "1"},
            {"tag_new", ""}};
}

std::string HttpOk(const std::string& body, const std::string& type)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}
