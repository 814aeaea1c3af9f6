#include "server/ProductPage.h"

#include "server/CatalogueDocuments.h"
#include "server/JsonWriter.h"
#include "server/RequestText.h"

namespace {

std::string page_head(std::string_view title)
{
    return "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
           html_escape(title) +
           "</title>\n<style>body{font-family:sans-serif;margin:2em}"
           ".list{text-decoration:line-through;color:#888}.promo{color:#c00;font-size:1.6em}"
           "img{max-width:400px;border:1px solid #ddd}</style>\n</head>\n<body>\n";
}

} // namespace

std::string product_page_html(const ProductRecord& p, std::string_view host)
{
    std::string page = page_head(p.title);
    page += "<h1>" + html_escape(p.title) + "</h1>\n";
    if (p.picture_id != 0)
        page += "<p><img src=\"" + html_escape(picture_url(host, p.id)) + "\" alt=\"" + html_escape(p.title) +
                "\"></p>\n";
    page += "<p>品牌：" + html_escape(p.brand) + "</p>\n";
    page += "<p>原价：<span class=\"list\">" + hundredths_text_fixed(p.price_cents) + "元</span></p>\n";
    page += "<p>促销价：<span class=\"promo\">" + hundredths_text_fixed(p.promotion_cents) + "元</span></p>\n";
    page += "<p>月销量：" + std::to_string(p.volume) + "件</p>\n";
    page += "<p>人气：" + html_escape(p.comment_num) + "</p>\n";
    page += "<p>商品编号：" + std::to_string(p.id) + "</p>\n</body>\n</html>\n";
    return page;
}

std::string missing_product_page_html(std::int64_t product_id)
{
    return page_head("商品不存在") + "<h1>商品不存在</h1>\n<p>没有编号为 " + std::to_string(product_id) +
           " 的商品。</p>\n</body>\n</html>\n";
}
