#include "tests/server/ServerTestSupport.h"

#include "server/CatalogueService.h"
#include "server/CatalogueStore.h"
#include "server/SampleCatalogue.h"

#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

TempFolder::TempFolder()
{
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("tavrin-server-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

RunningService::RunningService(std::function<void(const std::string& method, const std::string& target)> log,
                               ServiceSettings settings)
{
    store_ = CatalogueStore::OpenOrCreate(folder_.Path() / "catalogue.db");
    service_ = std::make_unique<CatalogueService>(*store_, settings);
    if (log)
        service_->SetRequestLog(std::move(log));
    port_ = service_->Bind("127.0.0.1", 0);
    // Connections made before Run starts wait in the listen backlog.
    runner_ = std::thread([this] { service_->Run(); });
}

RunningService::~RunningService()
{
    service_->Stop();
    runner_.join();
}

namespace {

struct DecoderError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

extern "C" void leave_decoder(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<DecoderError*>(info->err)->jump, 1);
}

struct Decoder {
    jpeg_decompress_struct info{};
    bool created = false;
    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

bool run_decoder(Decoder& decoder, DecoderError& error, const std::string& bytes, JpegFacts& facts,
                 std::vector<unsigned char>& row)
{
    decoder.info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = leave_decoder;
    error.manager.output_message = [](j_common_ptr) {};
    if (setjmp(error.jump))
        return false;
    jpeg_create_decompress(&decoder.info);
    decoder.created = true;
    jpeg_mem_src(&decoder.info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&decoder.info, TRUE) != JPEG_HEADER_OK)
        return false;
    facts.progressive = jpeg_has_multiple_scans(&decoder.info);
    jpeg_start_decompress(&decoder.info);
    facts.width = static_cast<int>(decoder.info.output_width);
    facts.height = static_cast<int>(decoder.info.output_height);
    facts.components = decoder.info.output_components;
    row.resize(static_cast<std::size_t>(facts.width) * static_cast<std::size_t>(facts.components));
    while (decoder.info.output_scanline < decoder.info.output_height) {
        JSAMPROW line = row.data();
        jpeg_read_scanlines(&decoder.info, &line, 1);
    }
    jpeg_finish_decompress(&decoder.info);
    return true;
}

} // namespace

std::optional<JpegFacts> decode_jpeg(const std::string& bytes)
{
    if (bytes.empty())
        return std::nullopt;
    Decoder decoder;
    DecoderError error{};
    JpegFacts facts;
    std::vector<unsigned char> row;
    if (!run_decoder(decoder, error, bytes, facts, row))
        return std::nullopt;
    return facts;
}

std::int64_t subcategory_of_size(int count)
{
    static const std::map<int, std::int64_t> by_size = [] {
        const SampleCatalogue catalogue = make_sample_catalogue();
        std::map<std::int64_t, int> sizes;
        for (const CategoryRecord& c : catalogue.categories)
            if (c.id >= sample_catalogue::kFirstSubcategoryId)
                sizes[c.id] = 0;
        for (const ProductRecord& p : catalogue.products)
            ++sizes[p.category_id];
        std::map<int, std::int64_t> result;
        for (const auto& [id, size] : sizes)
            result.emplace(size, id);
        return result;
    }();
    const auto found = by_size.find(count);
    if (found == by_size.end())
        throw std::runtime_error("no sample subcategory of size " + std::to_string(count));
    return found->second;
}
