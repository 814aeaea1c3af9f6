#include "bench/json/ProductBatch.h"
#include "json/json.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>

#include <cstdlib>

namespace {

const std::string& batch()
{
    static const std::string text = MakeProductBatch();
    return text;
}

const char* const product_members[] = {"title",   "price",      "promotion_price", "volume",
                                       "comment_num", "brand_name", "pic_url",  "detail_url",
                                       "tag_lq",  "tag_hot",    "tag_new"};

void ParseDocument(benchmark::State& state)
{
    for (auto _ : state) {
        auto root = TQvJSON::ParseDocument(batch());
        if (!root)
            std::abort();
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * batch().size()));
}

void RapidJsonDom(benchmark::State& state)
{
    for (auto _ : state) {
        rapidjson::Document document;
        document.Parse(batch().data(), batch().size());
        if (document.HasParseError())
            std::abort();
        benchmark::DoNotOptimize(&document);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * batch().size()));
}

void NlohmannParse(benchmark::State& state)
{
    for (auto _ : state) {
        auto document = nlohmann::json::parse(batch());
        benchmark::DoNotOptimize(&document);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * batch().size()));
}

// What the list and the detail panel do with a batch: every product member
// through Lookup, AsVariant and VariantToText.
void ParseAndReadProducts(benchmark::State& state)
{
    size_t shown = 0;
    for (auto _ : state) {
        auto root = JsonAs<TQvJSONobject>(TQvJSON::ParseDocument(batch()));
        auto* container = JsonAs<TQvJSONobjectmethod>(root->ChildAt(4))->PairValue();
        auto* items = JsonAs<TQvJSONobjectmethod>(container->ChildAt(0))->PairValue();
        shown += VariantToText(root->ValueByName(u"total_results")->AsVariant()).size();
        for (int32_t i = 0; i < items->ChildCount(); ++i) {
            TQvJSONbase* product = items->ChildAt(i);
            for (const char* member : product_members)
                shown += VariantToText(product->Lookup(Variant(member))->AsVariant()).size();
        }
    }
    benchmark::DoNotOptimize(shown);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * batch().size()));
}

} // namespace

BENCHMARK(ParseDocument);
BENCHMARK(RapidJsonDom);
BENCHMARK(NlohmannParse);
BENCHMARK(ParseAndReadProducts);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::fprintf(stderr, "product batch: %zu bytes\n", batch().size());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
