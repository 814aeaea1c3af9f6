#pragma once

#include <memory>
#include <string>
#include <vector>

class TComboBox;
class TNxHTTP;
class TQvJSONbase;
class TQvJSONobject;

// The message of the one fatal path: every failed catalogue request ends here.
extern const std::string NetworkFailureText;

// GETs CatalogueBaseUrl + relativePath and parses the answer. Returns the
// root object and keeps it in LastDocument. A failed request, an answer that
// is not JSON, or a root that is not an object shows NetworkFailureText and
// ends the process with exit code 0: it never returns after a failure.
std::shared_ptr<TQvJSONobject> FetchCatalogueDocument(TNxHTTP& client, const std::string& relativePath);

// Fetches a category document and walks from its root, one member position
// deeper per member of the root, to the category array. The result shares
// the document.
std::shared_ptr<TQvJSONbase> FetchLastMemberValue(TNxHTTP& client, const std::string& relativePath);

// Fills an (empty) list with the "sub_cat_name" of every element of a category
// array and the id array with their "sub_cat_id", slot 0 left empty.
void FillCategoryList(TQvJSONbase* categories, TComboBox& list, std::vector<std::string>& ids);
