// Read access to a compiled help file (.chm) through chmlib, and the
// keyword index kept in it as an HTML sitemap (.hhk).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace rumone {

// One entry of a sitemap (index or table of contents): the text shown and
// the topic path inside the help file ("" when the entry names no topic).
struct SitemapEntry {
    std::string name;
    std::string local;
};

// The entries of a sitemap in document order. Names and paths keep the
// bytes of the sitemap (its own character set); character references
// such as "&amp;" are resolved to UTF-8.
std::vector<SitemapEntry> parseSitemap(std::string_view html);

// An HTML page or sitemap converted to UTF-8 from the character set its
// byte order mark or meta tag names (UTF-8 when it names none, or one
// this system cannot convert).
std::string htmlToUtf8(std::string_view html);

class ChmFile {
public:
    // nullptr when the file is missing or is no readable help file.
    static std::unique_ptr<ChmFile> open(const std::string& path);
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Paths of all files stored in it ("/about.html"), in stored order.
    std::vector<std::string> entries() const;
    // The bytes of the entry at `path` ("/about.html" or "about.html"),
    // or nullopt when there is none.
    std::optional<std::string> read(const std::string& path) const;
    // The raw text of the keyword index (.hhk), or nullopt.
    std::optional<std::string> indexSitemap() const;
    // The keyword index with names in UTF-8 (decoded from the sitemap's
    // own character set); topic paths are made absolute ("/about.html").
    std::vector<SitemapEntry> readIndex() const;

private:
    struct Closer {
        void operator()(chmFile* file) const;
    };
    explicit ChmFile(chmFile* file);
    std::unique_ptr<chmFile, Closer> file_;
};

}  // namespace rumone
