#include "gui/help/ChmFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <chm_lib.h>

#include "core/text/TextParts.h"

namespace rumone {

namespace {

size_t findIgnoringCase(std::string_view text, std::string_view what, size_t from)
{
    if (what.size() > text.size())
        return std::string_view::npos;
    for (size_t i = from; i + what.size() <= text.size(); ++i) {
        if (equalsIgnoringAsciiCase(text.substr(i, what.size()), what))
            return i;
    }
    return std::string_view::npos;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && equalsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

void appendUtf8(std::string& out, unsigned long code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Resolves the character references of an attribute value.
std::string decodeReferences(std::string_view text)
{
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t semicolon = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semicolon == std::string_view::npos || semicolon - i > 10) {
            out += text[i++];
            continue;
        }
        const std::string name(text.substr(i + 1, semicolon - i - 1));
        if (name == "amp")
            out += '&';
        else if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string digits = name.substr(hex ? 2 : 1);
            char* end = nullptr;
            const unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
            if (digits.empty() || *end != '\0') {
                out += text.substr(i, semicolon - i + 1);
            } else {
                appendUtf8(out, code);
            }
        } else {
            out += text.substr(i, semicolon - i + 1);
        }
        i = semicolon + 1;
    }
    return out;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The value of attribute `attribute` in the tag text `tag`, or nullopt.
std::optional<std::string> attributeOf(std::string_view tag, std::string_view attribute)
{
    size_t i = 0;
    while (i < tag.size()) {
        while (i < tag.size() && (isBlank(tag[i]) || tag[i] == '/'))
            ++i;
        const size_t nameStart = i;
        while (i < tag.size() && !isBlank(tag[i]) && tag[i] != '=' && tag[i] != '/')
            ++i;
        const std::string_view name = tag.substr(nameStart, i - nameStart);
        while (i < tag.size() && isBlank(tag[i]))
            ++i;
        std::string_view value;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && isBlank(tag[i]))
                ++i;
            if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                const char quote = tag[i++];
                const size_t close = tag.find(quote, i);
                const size_t end = close == std::string_view::npos ? tag.size() : close;
                value = tag.substr(i, end - i);
                i = end + 1;
            } else {
                const size_t start = i;
                while (i < tag.size() && !isBlank(tag[i]))
                    ++i;
                value = tag.substr(start, i - start);
            }
        }
        if (name.empty()) {
            ++i;
            continue;
        }
        if (equalsIgnoringAsciiCase(name, attribute))
            return decodeReferences(value);
    }
    return std::nullopt;
}

SitemapEntry entryOfObject(std::string_view object)
{
    SitemapEntry entry;
    bool haveName = false;
    bool haveLocal = false;
    size_t at = 0;
    while ((at = findIgnoringCase(object, "<param", at)) != std::string_view::npos) {
        const size_t close = object.find('>', at);
        const size_t end = close == std::string_view::npos ? object.size() : close;
        const std::string_view tag = object.substr(at + 6, end - at - 6);
        at = end;
        const std::optional<std::string> name = attributeOf(tag, "name");
        const std::optional<std::string> value = attributeOf(tag, "value");
        if (!name || !value)
            continue;
        // The first of each wins: a keyword may list several topics.
        if (equalsIgnoringAsciiCase(*name, "Name") && !haveName) {
            entry.name = *value;
            haveName = true;
        } else if (equalsIgnoringAsciiCase(*name, "Local") && !haveLocal) {
            entry.local = *value;
            haveLocal = true;
        }
    }
    return entry;
}

// "ms-its:file.chm::/a.html", "a.html" and "/a.html" all become "/a.html".
std::string absoluteTopicPath(std::string local)
{
    const size_t separator = local.find("::");
    if (separator != std::string::npos)
        local = local.substr(separator + 2);
    if (!local.empty() && local.front() != '/')
        local.insert(local.begin(), '/');
    return local;
}

}  // namespace

std::vector<SitemapEntry> parseSitemap(std::string_view html)
{
    std::vector<SitemapEntry> entries;
    size_t at = 0;
    while ((at = findIgnoringCase(html, "<object", at)) != std::string_view::npos) {
        const size_t end = findIgnoringCase(html, "</object", at);
        const std::string_view object =
            html.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        SitemapEntry entry = entryOfObject(object);
        if (!entry.name.empty())
            entries.push_back(std::move(entry));
        if (end == std::string_view::npos)
            break;
        at = end;
    }
    return entries;
}

std::string htmlToUtf8(std::string_view html)
{
    const QByteArrayView bytes(html.data(), static_cast<qsizetype>(html.size()));
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    const QString text = decoder.isValid() ? decoder.decode(bytes) : QString::fromUtf8(bytes);
    return text.toStdString();
}

void ChmFile::Closer::operator()(chmFile* file) const
{
    chm_close(file);
}

ChmFile::ChmFile(chmFile* file) : file_(file) {}

ChmFile::~ChmFile() = default;

std::unique_ptr<ChmFile> ChmFile::open(const std::string& path)
{
    chmFile* file = chm_open(path.c_str());
    if (file == nullptr)
        return nullptr;
    return std::unique_ptr<ChmFile>(new ChmFile(file));
}

std::vector<std::string> ChmFile::entries() const
{
    std::vector<std::string> paths;
    auto collect = [](chmFile*, chmUnitInfo* info, void* context) -> int {
        static_cast<std::vector<std::string>*>(context)->emplace_back(info->path);
        return CHM_ENUMERATOR_CONTINUE;
    };
    chm_enumerate(file_.get(), CHM_ENUMERATE_ALL, collect, &paths);
    return paths;
}

std::optional<std::string> ChmFile::read(const std::string& path) const
{
    const std::string absolute = path.empty() || path.front() != '/' ? "/" + path : path;
    chmUnitInfo info{};
    if (chm_resolve_object(file_.get(), absolute.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    // Help pages are small; anything claiming more than 64 MiB is damaged.
    constexpr LONGUINT64 kLargestEntry = 64u << 20;
    if (info.length > kLargestEntry)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(info.length), '\0');
    if (bytes.empty())
        return bytes;
    const LONGINT64 got = chm_retrieve_object(file_.get(), &info, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              static_cast<LONGINT64>(info.length));
    if (got != static_cast<LONGINT64>(info.length))
        return std::nullopt;
    return bytes;
}

std::optional<std::string> ChmFile::indexSitemap() const
{
    for (const std::string& path : entries()) {
        if (endsWithIgnoringCase(path, ".hhk"))
            return read(path);
    }
    return std::nullopt;
}

std::vector<SitemapEntry> ChmFile::readIndex() const
{
    const std::optional<std::string> sitemap = indexSitemap();
    if (!sitemap)
        return {};
    std::vector<SitemapEntry> keywords = parseSitemap(htmlToUtf8(*sitemap));
    for (SitemapEntry& keyword : keywords) {
        if (!keyword.local.empty())
            keyword.local = absoluteTopicPath(keyword.local);
    }
    return keywords;
}

}  // namespace rumone
