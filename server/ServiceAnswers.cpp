#include "server/ServiceAnswers.h"

#include "server/CatalogueDocuments.h"
#include "server/CatalogueStore.h"
#include "server/ProductPage.h"
#include "server/RequestText.h"
#include "server/ServiceLimits.h"

#include <algorithm>
#include <optional>

namespace {

constexpr const char* kJsonType = "application/json; charset=utf-8";
constexpr const char* kHtmlType = "text/html; charset=utf-8";
constexpr const char* kTextType = "text/plain; charset=utf-8";

ServiceAnswer text_answer(int status, std::string text)
{
    ServiceAnswer answer;
    answer.status = status;
    answer.content_type = kTextType;
    answer.body = std::move(text);
    return answer;
}

ServiceAnswer content(std::string body, const char* type, int status = 200)
{
    ServiceAnswer answer;
    answer.status = status;
    answer.content_type = type;
    answer.body = std::move(body);
    return answer;
}

// The decimal query value, or the 400 answer saying why there is none.
struct QueryNumber {
    std::optional<std::int64_t> value;
    ServiceAnswer refusal;
};

QueryNumber query_number(const ServiceRequest& request, const std::string& name, std::size_t max_digits)
{
    QueryNumber result;
    const auto found = request.query.find(name);
    if (found == request.query.end()) {
        result.refusal = text_answer(400, "bad request: " + name + " is missing\n");
        return result;
    }
    result.value = parse_decimal(found->second, max_digits);
    if (!result.value)
        result.refusal = text_answer(400, "bad request: " + name + " is not a decimal number\n");
    return result;
}

// The id in "/kestrid/pic/ID.jpg", digits only; none for any other path.
std::optional<std::string_view> picture_id_text(std::string_view path)
{
    const std::string prefix = std::string(catalogue_documents::kServicePath) + "pic/";
    constexpr std::string_view suffix = ".jpg";
    if (path.size() <= prefix.size() + suffix.size() || path.substr(0, prefix.size()) != prefix ||
        path.substr(path.size() - suffix.size()) != suffix)
        return std::nullopt;
    const std::string_view digits = path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return digits;
}

struct ByteSpan {
    std::int64_t first = 0;
    std::int64_t last = 0; // inclusive
};

// One "bytes=FIRST-LAST", "bytes=FIRST-" or "bytes=-SUFFIX" range within size bytes.
// valid false: refused with 416. single false: several ranges, which are served as the whole body.
struct RangeAsked {
    bool valid = true;
    bool single = false;
    ByteSpan span;
};

RangeAsked parse_range(std::string_view header, std::int64_t size)
{
    RangeAsked asked;
    constexpr std::string_view unit = "bytes=";
    if (header.substr(0, unit.size()) != unit) {
        asked.valid = false;
        return asked;
    }
    const std::string_view set = header.substr(unit.size());
    if (set.find(',') != std::string_view::npos)
        return asked;
    const std::size_t dash = set.find('-');
    if (dash == std::string_view::npos) {
        asked.valid = false;
        return asked;
    }
    const auto first = parse_decimal(set.substr(0, dash), 18);
    const auto last = parse_decimal(set.substr(dash + 1), 18);
    const bool first_given = dash > 0, last_given = dash + 1 < set.size();
    if ((first_given && !first) || (last_given && !last) || (!first_given && !last_given)) {
        asked.valid = false;
        return asked;
    }
    asked.single = true;
    if (!first_given) {
        asked.span = {std::max<std::int64_t>(0, size - *last), size - 1};
        asked.valid = *last > 0 && size > 0;
    } else {
        asked.span = {*first, last_given ? std::min(*last, size - 1) : size - 1};
        asked.valid = *first < size && (!last_given || *first <= *last);
    }
    return asked;
}

void apply_range(const ServiceRequest& request, ServiceAnswer& answer)
{
    const auto size = static_cast<std::int64_t>(answer.body.size());
    const RangeAsked asked = parse_range(request.range, size);
    if (!asked.valid) {
        answer = text_answer(416, "416 Range Not Satisfiable\n");
        return;
    }
    if (!asked.single)
        return;
    answer.status = 206;
    answer.headers.emplace_back("Content-Range", "bytes " + std::to_string(asked.span.first) + "-" +
                                                     std::to_string(asked.span.last) + "/" + std::to_string(size));
    answer.body = answer.body.substr(static_cast<std::size_t>(asked.span.first),
                                     static_cast<std::size_t>(asked.span.last - asked.span.first + 1));
}

} // namespace

ServiceAnswers::ServiceAnswers(const CatalogueStore& store, std::string url_host)
    : store_(store), url_host_(std::move(url_host))
{
}

std::string ServiceAnswers::HostOf(const ServiceRequest& request) const
{
    return usable_host(request.host, url_host_);
}

ServiceAnswer ServiceAnswers::Get(const ServiceRequest& request) const
{
    const std::string base(catalogue_documents::kServicePath);
    const std::string& path = request.path;
    if (path == base + "ide.php") {
        const auto cq = query_number(request, "cq", service_limits::kMaxIdDigits);
        if (!cq.value)
            return cq.refusal;
        return content(category_document(store_.Children(*cq.value)), kJsonType);
    }
    if (path == base + "idf.php") {
        const auto cq = query_number(request, "cq", service_limits::kMaxIdDigits);
        if (!cq.value)
            return cq.refusal;
        const auto cp = query_number(request, "cp", service_limits::kMaxOffsetDigits);
        if (!cp.value)
            return cp.refusal;
        BatchAnswer batch;
        batch.subcategory_id = *cq.value;
        batch.offset = *cp.value;
        batch.total = store_.ProductCount(*cq.value);
        const std::int64_t first = batch_first_index(*cp.value);
        if (first < batch.total)
            batch.products = store_.Products(*cq.value, first, service_limits::kBatchSize);
        return content(batch_document(batch, HostOf(request)), kJsonType);
    }
    if (path == base + "index.php") {
        const auto cid = query_number(request, "cid", service_limits::kMaxIdDigits);
        if (!cid.value)
            return cid.refusal;
        const auto product = store_.Product(*cid.value);
        if (!product)
            return content(missing_product_page_html(*cid.value), kHtmlType, 404);
        return content(product_page_html(*product, HostOf(request)), kHtmlType);
    }
    // The detail address in the batch documents leads to the product page.
    if (path == base + "item.php") {
        const auto id = query_number(request, "id", service_limits::kMaxIdDigits);
        if (!id.value)
            return id.refusal;
        ServiceAnswer redirect;
        redirect.status = 302;
        redirect.headers.emplace_back("Location", base + "index.php?cid=" + std::to_string(*id.value));
        return redirect;
    }
    if (const auto digits = picture_id_text(path)) {
        const auto id = parse_decimal(*digits, service_limits::kMaxIdDigits);
        auto bytes = id ? store_.Picture(*id) : std::nullopt;
        if (!bytes)
            return text_answer(404, "no such picture\n");
        return content(std::move(*bytes), "image/jpeg");
    }
    return text_answer(404, "404 Not Found\n");
}

ServiceAnswer ServiceAnswers::Route(const ServiceRequest& request) const
{
    const std::string& method = request.method;
    if (method == "GET" || method == "HEAD") {
        ServiceAnswer answer = Get(request);
        if (method == "HEAD")
            answer.headers.emplace_back("Accept-Ranges", "bytes");
        else if (answer.status == 200 && !request.range.empty())
            apply_range(request, answer);
        return answer;
    }
    // Everything is read-only: other methods are refused, naming the ones that work.
    if (method == "POST" || method == "PUT" || method == "PATCH" || method == "DELETE") {
        ServiceAnswer refused = text_answer(405, "method not allowed\n");
        refused.headers.emplace_back("Allow", "GET, HEAD");
        return refused;
    }
    if (method == "OPTIONS") {
        ServiceAnswer options;
        options.headers.emplace_back("Allow", "GET, HEAD, OPTIONS");
        return options;
    }
    return text_answer(400, "400 Bad Request\n");
}

ServiceAnswer ServiceAnswers::Answer(const ServiceRequest& request)
{
    ServiceAnswer answer;
    try {
        answer = Route(request);
    } catch (const std::exception& e) {
        answer = text_answer(500, std::string(e.what()) + "\n");
    } catch (...) {
        answer = text_answer(500, "internal error\n");
    }
    try {
        if (!SessionIds::Carries(request.cookie))
            answer.headers.emplace_back("Set-Cookie", sessions_.NewCookie());
    } catch (...) {
        // Only memory can fail here; the answer goes out without a new session.
    }
    std::sort(answer.headers.begin(), answer.headers.end());
    return answer;
}
