#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// Reading the service's answers in the tests, independently of the client's
// own parser.

// GET base_url + path with a plain HTTP client; the parsed JSON answer.
nlohmann::ordered_json FetchJson(const std::string& base_url, const std::string& path);

// The text the window shows for a value read from the service: strings as GBK,
// numbers in the general float format.
std::string ShownText(const nlohmann::ordered_json& value);

// Products of a batch document.
const nlohmann::ordered_json& ProductsOf(const nlohmann::ordered_json& batch);

// Documents for a scripted server.
std::string CategoryDocument(const std::vector<std::pair<std::string, std::string>>& name_and_id);
std::string BatchDocumentText(const nlohmann::ordered_json& products, const std::string& total_results,
                              const std::string& total_page);
nlohmann::ordered_json ProductJson(int id, const std::string& pic_url);

// A complete HTTP answer with a Content-Length.
std::string HttpOk(const std::string& body, const std::string& type = "application/json");
