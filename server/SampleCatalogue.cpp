#include "server/SampleCatalogue.h"

#include "server/ServiceLimits.h"

#include <string_view>

namespace {

// splitmix64: a generator whose output does not depend on the standard library in use.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A value in [low, high].
    std::int64_t Between(std::int64_t low, std::int64_t high)
    {
        const auto span = static_cast<std::uint64_t>(high - low) + 1;
        return low + static_cast<std::int64_t>(Next() % span);
    }
    template <typename Array> const auto& Pick(const Array& choices)
    {
        return choices[Next() % std::size(choices)];
    }

private:
    std::uint64_t state_;
};

struct SubcategoryPlan {
    std::string_view name;
    std::string_view goods; // the noun titles are built around
    int size;
    std::int64_t price_low_cents;
    std::int64_t price_high_cents;
};

struct TopCategoryPlan {
    std::string_view name;
    std::vector<SubcategoryPlan> subcategories;
};

std::vector<TopCategoryPlan> catalogue_plan()
{
    return {
        {"女装", {{"连衣裙", "连衣裙", sample_catalogue::kFirstSubcategorySize, 5900, 59900},
                  {"T恤", "短袖T恤", 47, 1990, 12900},
                  {"衬衫", "雪纺衬衫", 48, 3900, 25900},
                  {"半身裙", "半身裙", 49, 2990, 19900},
                  {"毛衣", "针织毛衣", 23, 6900, 39900}}},
        {"男装", {{"夹克", "休闲夹克", 95, 9900, 69900},
                  {"男士衬衫", "牛津纺衬衫", 96, 4900, 29900},
                  {"休闲裤", "直筒休闲裤", 97, 3900, 25900},
                  {"卫衣", "连帽卫衣", 1, 5900, 29900}}},
        {"鞋包", {{"运动鞋", "跑步运动鞋", 310, 9900, 129900},
                  {"双肩包", "双肩背包", 0, 4900, 39900},
                  {"单肩包", "女士单肩包", 36, 5900, 89900}}},
        {"美妆", {{"面霜", "保湿面霜", 60, 3900, 59900},
                  {"口红", "哑光口红", 24, 2900, 32900},
                  {"香水", "淡香水", 25, 9900, 99900},
                  {"面膜", "补水面膜", 72, 990, 15900},
                  {"防晒", "清爽防晒霜", 12, 2900, 19900}}},
        {"数码", {{"手机壳", "防摔手机壳", 58, 990, 9900},
                  {"耳机", "蓝牙耳机", 40, 4900, 129900},
                  {"充电宝", "快充充电宝", 33, 3900, 29900},
                  {"数据线", "编织数据线", 20, 590, 5900},
                  {"键盘", "机械键盘", 44, 9900, 99900},
                  {"鼠标", "无线鼠标", 50, 1990, 39900}}},
        {"家居", {{"保温杯", "不锈钢保温杯", 30, 2900, 19900},
                  {"床品", "纯棉四件套", 66, 9900, 89900},
                  {"收纳", "折叠收纳箱", 28, 990, 12900},
                  {"台灯", "护眼台灯", 19, 3900, 39900}}},
    };
}

constexpr std::string_view kBrands[] = {"青禾", "木槿家", "北岸", "星野", "云朵小铺", "拾光",
                                        "简约派", "橙子工坊", "蓝鲸", "山茶", "南风", "鹿角巷"};
constexpr std::string_view kOpenings[] = {"【包邮】", "【特价】", "", "2024新款 ", "", "【限时】", "正品 ", ""};
constexpr std::string_view kQualities[] = {"加厚", "轻薄", "经典", "百搭", "简约", "韩版",
                                           "复古", "大容量", "升级款", "网红同款"};
constexpr std::string_view kEndings[] = {"", " 多色可选", " 送运费险", " 买一送一", " 热销款", ""};
// Popularity texts as the service writes them: counts, decimals and counts in ten thousands.
constexpr std::string_view kPopularity[] = {"7",  "6",   "2.3", "1.5万", "15", "42", "3.8",
                                            "1万", "128", "9",   "0",     "24", "12.6万", "-219"};

// Sizes, colour kinds and scan kinds the client's picture code must cope with.
constexpr int kPictureSizes[][2] = {{310, 310}, {400, 200}, {150, 250}, {60, 20}, {1000, 800}};
constexpr int kPictureCount = 20;

std::string make_title(SampleRandom& random, std::string_view brand, const SubcategoryPlan& plan, int position)
{
    std::string title;
    title += random.Pick(kOpenings);
    title += brand;
    title += ' ';
    title += random.Pick(kQualities);
    // A few titles carry the characters that need escaping in JSON and in HTML.
    if (position % 37 == 5)
        title += "\"暖冬\"";
    else if (position % 41 == 7)
        title += "<新>&";
    else if (position % 43 == 9)
        title += "A\\B";
    title += plan.goods;
    title += random.Pick(kEndings);
    return title;
}

} // namespace

SampleCatalogue make_sample_catalogue()
{
    SampleCatalogue catalogue;
    SampleRandom random(20240601);

    for (int i = 0; i < kPictureCount; ++i) {
        PicturePlan plan;
        plan.id = i + 1;
        plan.width = kPictureSizes[i % std::size(kPictureSizes)][0];
        plan.height = kPictureSizes[i % std::size(kPictureSizes)][1];
        plan.colour = i % 6 == 2 ? PictureColour::Grayscale : PictureColour::Colour;
        plan.scan = i % 4 == 3 ? PictureScan::Progressive : PictureScan::Baseline;
        plan.seed = static_cast<std::uint32_t>(random.Next());
        catalogue.pictures.push_back(plan);
    }

    std::int64_t next_top_id = sample_catalogue::kFirstTopCategoryId;
    std::int64_t next_sub_id = sample_catalogue::kFirstSubcategoryId;
    std::int64_t next_product_id = sample_catalogue::kFirstProductId;
    int product_index = 0;
    const auto plan = catalogue_plan();
    for (std::size_t t = 0; t < plan.size(); ++t) {
        const std::int64_t top_id = next_top_id++;
        catalogue.categories.push_back({top_id, service_limits::kRootCategoryId, static_cast<int>(t),
                                        std::string(plan[t].name)});
        for (std::size_t s = 0; s < plan[t].subcategories.size(); ++s) {
            const SubcategoryPlan& sub = plan[t].subcategories[s];
            const std::int64_t sub_id = next_sub_id++;
            catalogue.categories.push_back({sub_id, top_id, static_cast<int>(s), std::string(sub.name)});
            for (int p = 0; p < sub.size; ++p, ++product_index) {
                ProductRecord product;
                product.id = next_product_id;
                next_product_id += random.Between(1, 9);
                product.category_id = sub_id;
                product.position = p;
                product.brand = std::string(random.Pick(kBrands));
                product.title = make_title(random, product.brand, sub, p);
                product.price_cents = random.Between(sub.price_low_cents, sub.price_high_cents) / 10 * 10;
                product.promotion_cents = product.price_cents * random.Between(50, 95) / 100 / 10 * 10;
                product.volume = random.Between(0, 25000);
                product.comment_num = std::string(random.Pick(kPopularity));
                // The eight tag combinations in turn; empty means absent.
                const int tags = p % 8;
                product.tag_new = tags & 1 ? "1" : "";
                product.tag_hot = tags & 2 ? "1" : "";
                product.tag_lq = tags & 4 ? "1" : "";
                // A few pictures are missing, never the first of a page.
                const bool missing = product_index % 23 == 11 && p % (service_limits::kBatchSize / 2) != 0;
                product.picture_id = missing ? 0 : 1 + product_index % kPictureCount;
                catalogue.products.push_back(std::move(product));
            }
        }
    }
    return catalogue;
}
