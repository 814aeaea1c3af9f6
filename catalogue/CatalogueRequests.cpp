#include "catalogue/CatalogueRequests.h"

#include "base/TMemoryStream.h"
#include "catalogue/CatalogueState.h"
#include "catalogue/DocumentReading.h"
#include "http/http_client.h"
#include "json/json.h"
#include "ui/TApplication.h"
#include "ui/TComboBox.h"
#include "ui/TStrings.h"

const std::string NetworkFailureText = "\xCD\xF8\xC2\xE7\xC1\xAC\xBD\xD3\xD2\xEC\xB3\xA3"; // 网络连接异常

std::shared_ptr<TQvJSONobject> FetchCatalogueDocument(TNxHTTP& client, const std::string& relativePath)
{
    std::shared_ptr<TQvJSONobject> root;
    try {
        TMemoryStream buffer;
        client.Get(CatalogueBaseUrl + relativePath, buffer);
        root = JsonAs<TQvJSONobject>(TQvJSON::ParseDocument(buffer.Bytes()));
    } catch (const std::exception&) {
        root.reset();
    }
    // An answer that does not parse is as useless as no answer at all.
    if (!root)
        Application->FatalMessage(NetworkFailureText);
    LastDocument = root;
    return root;
}

std::shared_ptr<TQvJSONbase> FetchLastMemberValue(TNxHTTP& client, const std::string& relativePath)
{
    std::shared_ptr<TQvJSONobject> root = FetchCatalogueDocument(client, relativePath);
    const int32_t members = root->ChildCount();
    TQvJSONbase* current = root.get();
    for (int32_t i = 0; i < members; ++i) {
        auto* pair = JsonAs<TQvJSONobjectmethod>(current->ChildAt(i));
        if (pair == nullptr || pair->PairValue() == nullptr)
            break;
        current = pair->PairValue();
    }
    return ShareInto(root, current);
}

void FillCategoryList(TQvJSONbase* categories, TComboBox& list, std::vector<std::string>& ids)
{
    const int32_t count = categories ? categories->ChildCount() : 0;
    ids.assign(static_cast<size_t>(count) + 1, std::string());
    for (int32_t i = 0; i < count; ++i) {
        TQvJSONbase* category = categories->ChildAt(i);
        std::string name = MemberText(category, "sub_cat_name");
        ids[static_cast<size_t>(i) + 1] = MemberText(category, "sub_cat_id");
        list.Items().Add(name);
    }
}
