#include "server/CatalogueDocuments.h"

#include "server/JsonWriter.h"
#include "server/ServiceLimits.h"

#include <algorithm>

namespace {

// The service varies how it writes the same kind of value from product to product, as the
// real one does, so that clients meet every form: Chinese text as \u escapes or raw UTF-8,
// prices and counts as JSON text or as numbers.
NonAsciiText text_form(std::int64_t id) { return id % 2 != 0 ? NonAsciiText::Escaped : NonAsciiText::Raw; }
bool price_as_text(std::int64_t id) { return (id / 2) % 2 == 0; }
bool volume_as_number(std::int64_t id) { return id % 3 == 0; }

bool is_plain_integer(std::string_view text)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    return !text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
}

void write_price(JsonWriter& json, std::int64_t id, std::int64_t cents)
{
    if (price_as_text(id))
        json.String(hundredths_text_fixed(cents));
    else
        json.Hundredths(cents);
}

void write_product(JsonWriter& json, const ProductRecord& p, std::string_view host)
{
    json.BeginObject();
    json.Key("title");
    json.String(p.title, text_form(p.id));
    json.Key("price");
    write_price(json, p.id, p.price_cents);
    json.Key("promotion_price");
    write_price(json, p.id, p.promotion_cents);
    json.Key("volume");
    if (volume_as_number(p.id))
        json.Integer(p.volume);
    else
        json.String(std::to_string(p.volume));
    json.Key("comment_num");
    if (p.id % 5 == 0 && is_plain_integer(p.comment_num))
        json.Integer(std::stoll(p.comment_num));
    else
        json.String(p.comment_num, text_form(p.id));
    json.Key("brand_name");
    json.String(p.brand, text_form(p.id));
    json.Key("pic_url");
    json.String(picture_url(host, p.id));
    json.Key("detail_url");
    json.String(detail_url(host, p.id));
    json.Key("tag_lq");
    json.String(p.tag_lq);
    json.Key("tag_hot");
    json.String(p.tag_hot);
    json.Key("tag_new");
    json.String(p.tag_new);
    json.EndObject();
}

} // namespace

std::string category_document(const std::vector<CategoryRecord>& categories)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("sub_cat_list");
    json.BeginArray();
    for (const CategoryRecord& c : categories) {
        json.BeginObject();
        json.Key("sub_cat_name");
        json.String(c.name, c.position % 2 != 0 ? NonAsciiText::Escaped : NonAsciiText::Raw);
        json.Key("sub_cat_id");
        if (c.position % 2 != 0)
            json.Integer(c.id);
        else
            json.String(std::to_string(c.id));
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return json.Text();
}

std::string batch_document(const BatchAnswer& batch, std::string_view host)
{
    JsonWriter json;
    // A full batch is about 18 KB; growing to it step by step costs more than writing it.
    json.Reserve(512 + 400 * batch.products.size());
    json.BeginObject();
    json.Key("total_results");
    json.Integer(batch.total);
    json.Key("total_page");
    if (batch.subcategory_id % 2 == 0)
        json.String(std::to_string(batch_count(batch.total)));
    else
        json.Integer(batch_count(batch.total));
    json.Key("cq");
    json.String(std::to_string(batch.subcategory_id));
    json.Key("cp");
    json.Integer(batch.offset);
    json.Key("result");
    json.BeginObject();
    json.Key("item");
    json.BeginArray();
    for (const ProductRecord& p : batch.products)
        write_product(json, p, host);
    json.EndArray();
    json.Key("num");
    json.Integer(static_cast<std::int64_t>(batch.products.size()));
    json.EndObject();
    json.EndObject();
    return json.TakeText();
}

std::int64_t batch_first_index(std::int64_t offset) { return offset / 2; }

std::int64_t batch_count(std::int64_t total)
{
    return total <= 0 ? 0 : (total - 1) / service_limits::kBatchSize + 1;
}

std::string picture_url(std::string_view host, std::int64_t product_id)
{
    return "http://" + std::string(host) + std::string(catalogue_documents::kServicePath) + "pic/" +
           std::to_string(product_id) + ".jpg";
}

std::string detail_url(std::string_view host, std::int64_t product_id)
{
    return "http://" + std::string(host) + std::string(catalogue_documents::kServicePath) +
           "item.php?id=" + std::to_string(product_id) + "&from=tavrin";
}
