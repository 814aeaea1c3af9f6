#include "server/CatalogueStore.h"

#include "server/SampleCatalogue.h"
#include "server/SamplePictures.h"
#include "server/ServerErrors.h"

#include <sqlite3.h>
#include <unistd.h>

#include <system_error>

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE category(
  id INTEGER PRIMARY KEY,
  parent_id INTEGER NOT NULL,
  position INTEGER NOT NULL,
  name TEXT NOT NULL);
CREATE INDEX category_by_parent ON category(parent_id, position);
CREATE TABLE picture(
  id INTEGER PRIMARY KEY,
  width INTEGER NOT NULL,
  height INTEGER NOT NULL,
  data BLOB NOT NULL);
CREATE TABLE product(
  id INTEGER PRIMARY KEY,
  category_id INTEGER NOT NULL,
  position INTEGER NOT NULL,
  title TEXT NOT NULL,
  brand TEXT NOT NULL,
  price_cents INTEGER NOT NULL,
  promotion_cents INTEGER NOT NULL,
  volume INTEGER NOT NULL,
  comment_num TEXT NOT NULL,
  tag_new TEXT NOT NULL,
  tag_hot TEXT NOT NULL,
  tag_lq TEXT NOT NULL,
  picture_id INTEGER NOT NULL);
CREATE INDEX product_by_category ON product(category_id, position);
)sql";

constexpr const char* kProductColumns =
    "id, category_id, position, title, brand, price_cents, promotion_cents, volume, comment_num, "
    "tag_new, tag_hot, tag_lq, picture_id";

struct Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close(db); }
    sqlite3* Release()
    {
        sqlite3* taken = db;
        db = nullptr;
        return taken;
    }
};

class Statement {
public:
    Statement(sqlite3* db, const char* sql, const std::string& path) : path_(path)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            throw ECatalogueStoreError::Failed(path, "prepare a query", sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, std::int64_t value)
    {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    Statement& Bind(int index, const std::string& text)
    {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& BindBlob(int index, const std::string& bytes)
    {
        sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // True while there is a row to read.
    bool Step()
    {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW)
            return true;
        if (result == SQLITE_DONE)
            return false;
        throw ECatalogueStoreError::Failed(path_, "read", sqlite3_errmsg(sqlite3_db_handle(statement_)));
    }
    void Run()
    {
        Step();
        Reset();
    }
    void Reset()
    {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    std::int64_t Integer(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string Text(int column) const
    {
        const void* bytes = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return bytes ? std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size)) : std::string();
    }

private:
    sqlite3_stmt* statement_ = nullptr;
    std::string path_;
};

void execute(sqlite3* db, const char* sql, const std::string& path)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string reason = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        throw ECatalogueStoreError::Failed(path, "write", reason);
    }
}

ProductRecord read_product(const Statement& row)
{
    ProductRecord p;
    p.id = row.Integer(0);
    p.category_id = row.Integer(1);
    p.position = static_cast<int>(row.Integer(2));
    p.title = row.Text(3);
    p.brand = row.Text(4);
    p.price_cents = row.Integer(5);
    p.promotion_cents = row.Integer(6);
    p.volume = row.Integer(7);
    p.comment_num = row.Text(8);
    p.tag_new = row.Text(9);
    p.tag_hot = row.Text(10);
    p.tag_lq = row.Text(11);
    p.picture_id = row.Integer(12);
    return p;
}

void write_catalogue(sqlite3* db, const SampleCatalogue& catalogue, const std::string& path)
{
    execute(db, "BEGIN", path);
    execute(db, kSchema, path);
    Statement category(db, "INSERT INTO category VALUES(?1, ?2, ?3, ?4)", path);
    for (const CategoryRecord& c : catalogue.categories)
        category.Bind(1, c.id).Bind(2, c.parent_id).Bind(3, std::int64_t{c.position}).Bind(4, c.name).Run();
    Statement picture(db, "INSERT INTO picture VALUES(?1, ?2, ?3, ?4)", path);
    for (const PicturePlan& plan : catalogue.pictures)
        picture.Bind(1, plan.id)
            .Bind(2, std::int64_t{plan.width})
            .Bind(3, std::int64_t{plan.height})
            .BindBlob(4, encode_sample_picture(plan))
            .Run();
    Statement product(db, "INSERT INTO product VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)", path);
    for (const ProductRecord& p : catalogue.products)
        product.Bind(1, p.id)
            .Bind(2, p.category_id)
            .Bind(3, std::int64_t{p.position})
            .Bind(4, p.title)
            .Bind(5, p.brand)
            .Bind(6, p.price_cents)
            .Bind(7, p.promotion_cents)
            .Bind(8, p.volume)
            .Bind(9, p.comment_num)
            .Bind(10, p.tag_new)
            .Bind(11, p.tag_hot)
            .Bind(12, p.tag_lq)
            .Bind(13, p.picture_id)
            .Run();
    execute(db, ("PRAGMA user_version = " + std::to_string(CatalogueStore::kLayoutVersion)).c_str(), path);
    execute(db, "COMMIT", path);
}

// A statement in use; reset when the query is done, so no read stays open between requests.
class Use {
public:
    explicit Use(Statement& statement) : statement_(statement) {}
    ~Use() { statement_.Reset(); }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    Statement* operator->() { return &statement_; }
    Statement& operator*() { return statement_; }

private:
    Statement& statement_;
};

sqlite3* open_read_only(const std::string& name)
{
    Connection connection;
    // One thread at a time uses a connection, so SQLite's own locking is not needed.
    if (sqlite3_open_v2(name.c_str(), &connection.db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK)
        throw ECatalogueStoreError::Failed(name, "open", connection.db ? sqlite3_errmsg(connection.db)
                                                                       : "out of memory");
    return connection.Release();
}

} // namespace

// One read connection with a statement prepared for each kind of query.
class CatalogueReader {
public:
    explicit CatalogueReader(const std::string& path) : connection_{open_read_only(path)}
    {
        const std::string product_sql = std::string("SELECT ") + kProductColumns + " FROM product ";
        children_ = std::make_unique<Statement>(
            connection_.db, "SELECT id, parent_id, position, name FROM category WHERE parent_id = ?1 ORDER BY position",
            path);
        count_ = std::make_unique<Statement>(connection_.db, "SELECT count(*) FROM product WHERE category_id = ?1",
                                             path);
        products_ = std::make_unique<Statement>(
            connection_.db, (product_sql + "WHERE category_id = ?1 ORDER BY position LIMIT ?2 OFFSET ?3").c_str(),
            path);
        product_ = std::make_unique<Statement>(connection_.db, (product_sql + "WHERE id = ?1").c_str(), path);
        picture_ = std::make_unique<Statement>(connection_.db,
                                               "SELECT picture.data FROM product JOIN picture ON picture.id = "
                                               "product.picture_id WHERE product.id = ?1",
                                               path);
    }
    CatalogueReader(const CatalogueReader&) = delete;
    CatalogueReader& operator=(const CatalogueReader&) = delete;

    int LayoutVersion(const std::string& path)
    {
        Statement version(connection_.db, "PRAGMA user_version", path);
        return version.Step() ? static_cast<int>(version.Integer(0)) : 0;
    }

    Connection connection_; // first, so the statements are finalized before it closes
    std::unique_ptr<Statement> children_, count_, products_, product_, picture_;
};

// A reader taken from the store for one query and given back after it.
class CatalogueStore::Borrowed {
public:
    explicit Borrowed(const CatalogueStore& store) : store_(store), reader_(store.Borrow()) {}
    ~Borrowed() { store_.GiveBack(std::move(reader_)); }
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;
    CatalogueReader* operator->() { return reader_.get(); }

private:
    const CatalogueStore& store_;
    std::unique_ptr<CatalogueReader> reader_;
};

void CatalogueStore::Create(const std::filesystem::path& path, const SampleCatalogue& catalogue)
{
    const std::string name = path.string();
    std::filesystem::path partial = path;
    partial += ".partial-" + std::to_string(::getpid());
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    try {
        Connection connection;
        if (sqlite3_open_v2(partial.c_str(), &connection.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK)
            throw ECatalogueStoreError::Failed(name, "create", connection.db ? sqlite3_errmsg(connection.db)
                                                                                : "out of memory");
        write_catalogue(connection.db, catalogue, name);
    } catch (...) {
        std::filesystem::remove(partial, ignored);
        throw;
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, ignored);
        throw ECatalogueStoreError::Failed(name, "create", error.message());
    }
}

std::unique_ptr<CatalogueStore> CatalogueStore::OpenOrCreate(const std::filesystem::path& path)
{
    const std::string name = path.string();
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        Create(path, make_sample_catalogue());

    auto first = std::make_unique<CatalogueReader>(name);
    const int found = first->LayoutVersion(name);
    if (found != kLayoutVersion)
        throw ECatalogueStoreError::WrongLayout(name, found);
    std::unique_ptr<CatalogueStore> store(new CatalogueStore(name));
    store->idle_.push_back(std::move(first));
    return store;
}

CatalogueStore::CatalogueStore(std::string path) : path_(std::move(path)) {}

CatalogueStore::~CatalogueStore() = default;

std::unique_ptr<CatalogueReader> CatalogueStore::Borrow() const
{
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto reader = std::move(idle_.back());
            idle_.pop_back();
            return reader;
        }
    }
    return std::make_unique<CatalogueReader>(path_);
}

void CatalogueStore::GiveBack(std::unique_ptr<CatalogueReader> reader) const
{
    try {
        std::lock_guard lock(mutex_);
        idle_.push_back(std::move(reader));
    } catch (...) {
        // No room to keep it: the reader closes, and the next query opens another.
    }
}

std::vector<CategoryRecord> CatalogueStore::Children(std::int64_t parent_id) const
{
    Borrowed reader(*this);
    Use query(*reader->children_);
    query->Bind(1, parent_id);
    std::vector<CategoryRecord> children;
    while (query->Step())
        children.push_back({query->Integer(0), query->Integer(1), static_cast<int>(query->Integer(2)), query->Text(3)});
    return children;
}

std::int64_t CatalogueStore::ProductCount(std::int64_t category_id) const
{
    Borrowed reader(*this);
    Use query(*reader->count_);
    query->Bind(1, category_id);
    return query->Step() ? query->Integer(0) : 0;
}

std::vector<ProductRecord> CatalogueStore::Products(std::int64_t category_id, std::int64_t first,
                                                    std::int64_t limit) const
{
    Borrowed reader(*this);
    Use query(*reader->products_);
    query->Bind(1, category_id).Bind(2, limit).Bind(3, first);
    std::vector<ProductRecord> products;
    while (query->Step())
        products.push_back(read_product(*query));
    return products;
}

std::optional<ProductRecord> CatalogueStore::Product(std::int64_t product_id) const
{
    Borrowed reader(*this);
    Use query(*reader->product_);
    query->Bind(1, product_id);
    if (!query->Step())
        return std::nullopt;
    return read_product(*query);
}

std::optional<std::string> CatalogueStore::Picture(std::int64_t product_id) const
{
    Borrowed reader(*this);
    Use query(*reader->picture_);
    query->Bind(1, product_id);
    if (!query->Step())
        return std::nullopt;
    return query->Text(0);
}
