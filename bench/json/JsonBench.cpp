// Parse speed of catalogue documents beside RapidJSON's DOM (default and full
// precision) and nlohmann over the same bytes: the stand-in service's own
// product batch and category lists, as a client receives them, and a
// synthetic batch with long product addresses.
#include "bench/json/ProductBatch.h"
#include "bench/json/ServiceDocuments.h"
#include "json/json.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const product_members[] = {"title",       "price",      "promotion_price", "volume",
                                       "comment_num", "brand_name", "pic_url",         "detail_url",
                                       "tag_lq",      "tag_hot",    "tag_new"};

void ParseDocument(benchmark::State& state, const std::string* text)
{
    for (auto _ : state) {
        auto root = TQvJSON::ParseDocument(*text);
        if (!root)
            std::abort();
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text->size()));
}

template <unsigned Flags>
void RapidJsonDom(benchmark::State& state, const std::string* text)
{
    for (auto _ : state) {
        rapidjson::Document document;
        document.Parse<Flags>(text->data(), text->size());
        if (document.HasParseError())
            std::abort();
        benchmark::DoNotOptimize(&document);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text->size()));
}

void NlohmannParse(benchmark::State& state, const std::string* text)
{
    for (auto _ : state) {
        auto document = nlohmann::json::parse(*text);
        benchmark::DoNotOptimize(&document);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text->size()));
}

// Every product member read as the catalogue reads it: the counters through
// ValueByName, each member of each product through Lookup and AsVariant.
// With `show`, each value also becomes the 8-bit text a label shows
// (VariantToTextOrEmpty: code page conversion, number formatting).
void ParseAndReadProducts(benchmark::State& state, const std::string* text, bool show)
{
    size_t read = 0;
    auto use = [&read, show](const Variant& value) {
        if (show)
            read += VariantToTextOrEmpty(value).size();
        else
            read += static_cast<size_t>(value.Kind());
    };
    for (auto _ : state) {
        auto root = JsonAs<TQvJSONobject>(TQvJSON::ParseDocument(*text));
        auto* container = JsonAs<TQvJSONobjectmethod>(root->ChildAt(4))->PairValue();
        auto* items = JsonAs<TQvJSONobjectmethod>(container->ChildAt(0))->PairValue();
        use(root->ValueByName(u"total_results")->AsVariant());
        use(root->ValueByName(u"total_page")->AsVariant());
        for (int32_t i = 0; i < items->ChildCount(); ++i) {
            TQvJSONbase* product = items->ChildAt(i);
            for (const char* member : product_members)
                use(product->Lookup(Variant(member))->AsVariant());
        }
    }
    benchmark::DoNotOptimize(read);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text->size()));
}

void Register(const std::string& name, const std::string* text, bool products)
{
    benchmark::RegisterBenchmark(("ParseDocument/" + name).c_str(), ParseDocument, text);
    benchmark::RegisterBenchmark(("RapidJsonDom/" + name).c_str(), RapidJsonDom<rapidjson::kParseDefaultFlags>,
                                 text);
    benchmark::RegisterBenchmark(("RapidJsonDomFullPrecision/" + name).c_str(),
                                 RapidJsonDom<rapidjson::kParseFullPrecisionFlag>, text);
    benchmark::RegisterBenchmark(("Nlohmann/" + name).c_str(), NlohmannParse, text);
    if (products) {
        benchmark::RegisterBenchmark(("ParseAndReadProducts/" + name).c_str(), ParseAndReadProducts, text, false);
        benchmark::RegisterBenchmark(("ParseReadAndShowProducts/" + name).c_str(), ParseAndReadProducts, text, true);
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    static const ServiceDocuments service = FetchServiceDocuments();
    static const std::string synthetic = MakeProductBatch();
    std::fprintf(stderr, "service batch: %zu bytes, top categories: %zu bytes, subcategories: %zu bytes, "
                         "synthetic batch: %zu bytes\n",
                 service.batch.size(), service.topCategories.size(), service.subcategories.size(), synthetic.size());
    Register("service_batch", &service.batch, true);
    Register("synthetic_batch", &synthetic, true);
    Register("top_categories", &service.topCategories, false);
    Register("subcategories", &service.subcategories, false);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
