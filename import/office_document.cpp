#include "import/office_document.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <functional>
#include <memory>
#include <mutex>

#include "import/zip_archive.h"

namespace pelmora {

namespace {

constexpr const char* kWordNs = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kCompatibilityNs =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";
constexpr const char* kTextNs = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr const char* kOfficeNs = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr const char* kDcNs = "http://purl.org/dc/elements/1.1/";
constexpr const char* kTermsNs = "http://purl.org/dc/terms/";
constexpr const char* kMetaNs = "urn:oasis:names:tc:opendocument:xmlns:meta:1.0";

struct FreeDoc {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocument = std::unique_ptr<xmlDoc, FreeDoc>;

// No network, no entity expansion, no DTD loading; errors not printed.
XmlDocument parseXml(const std::string& bytes) {
    // The library's first set-up is not safe on two threads at once.
    static std::once_flag once;
    std::call_once(once, xmlInitParser);
    return XmlDocument(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

bool is(const xmlNode* node, const char* ns, const char* name) {
    return node->type == XML_ELEMENT_NODE && node->ns != nullptr &&
           std::strcmp(reinterpret_cast<const char*>(node->ns->href), ns) == 0 &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

std::string attribute(const xmlNode* node, const char* ns, const char* name) {
    xmlChar* value = xmlGetNsProp(node, reinterpret_cast<const xmlChar*>(name),
                                  reinterpret_cast<const xmlChar*>(ns));
    std::string out = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return out;
}

// What a walk over a part's elements makes: the body text, and footnotes and comments apart.
struct Extracted {
    std::string body, notes, comments;
};

using Visitor = std::function<void(const xmlNode* node, std::string& out, Extracted& all)>;

void walkChildren(const xmlNode* node, std::string& out, Extracted& all, const Visitor& visit) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
        visit(child, out, all);
    }
}

// Word: w:t text, w:tab, w:br and w:cr, a line per w:p; deleted text and field codes out.
void visitWord(const xmlNode* node, std::string& out, Extracted& all) {
    const Visitor self = visitWord;
    if (is(node, kWordNs, "t")) {
        if (xmlChar* text = xmlNodeGetContent(node)) {
            out += reinterpret_cast<const char*>(text);
            xmlFree(text);
        }
    } else if (is(node, kWordNs, "tab")) {
        out += '\t';
    } else if (is(node, kWordNs, "br") || is(node, kWordNs, "cr")) {
        out += '\n';
    } else if (is(node, kWordNs, "del") || is(node, kWordNs, "delText") ||
               is(node, kWordNs, "instrText") || is(node, kCompatibilityNs, "Fallback")) {
        return;  // a text box's fallback repeats its text
    } else if (is(node, kWordNs, "footnote") || is(node, kWordNs, "endnote") ||
               is(node, kWordNs, "comment")) {
        const std::string type = attribute(node, kWordNs, "type");
        if (type.empty() || type == "normal") {
            walkChildren(node, is(node, kWordNs, "comment") ? all.comments : all.notes, all, self);
        }
    } else {
        walkChildren(node, out, all, self);
        if (is(node, kWordNs, "p")) {
            out += '\n';
        }
    }
}

void appendCollapsed(std::string& out, std::string_view text) {
    for (const char c : text) {
        const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!space) {
            out += c;
        } else if (!out.empty() && out.back() != ' ' && out.back() != '\n') {
            out += ' ';
        }
    }
}

// OpenDocument: text:p and text:h a line each, text:s, text:tab, text:line-break; notes and
// annotations apart; tracked changes out.
void visitOpenDocument(const xmlNode* node, std::string& out, Extracted& all) {
    const Visitor self = visitOpenDocument;
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
        appendCollapsed(out, reinterpret_cast<const char*>(node->content));
    } else if (is(node, kTextNs, "s")) {
        const std::string count = attribute(node, kTextNs, "c");
        const int spaces = count.empty() ? 1 : std::max(1, std::min(100, std::atoi(count.c_str())));
        out.append(static_cast<std::size_t>(spaces), ' ');
    } else if (is(node, kTextNs, "tab")) {
        out += '\t';
    } else if (is(node, kTextNs, "line-break")) {
        out += '\n';
    } else if (is(node, kTextNs, "tracked-changes") || is(node, kTextNs, "note-citation")) {
        return;
    } else if (is(node, kTextNs, "note")) {
        walkChildren(node, all.notes, all, self);
        all.notes += '\n';
    } else if (is(node, kOfficeNs, "annotation")) {
        walkChildren(node, all.comments, all, self);
        all.comments += '\n';
    } else {
        walkChildren(node, out, all, self);
        if (is(node, kTextNs, "p") || is(node, kTextNs, "h")) {
            out += '\n';
        }
    }
}

// The text of the first element named `name` in `ns`, searched breadth by depth.
std::string firstText(const xmlNode* node, const char* ns, const char* name) {
    for (; node != nullptr; node = node->next) {
        if (is(node, ns, name)) {
            xmlChar* text = xmlNodeGetContent(node);
            std::string out = text != nullptr ? reinterpret_cast<const char*>(text) : "";
            xmlFree(text);
            return out;
        }
        if (std::string found = firstText(node->children, ns, name); !found.empty()) {
            return found;
        }
    }
    return {};
}

Result<XmlDocument> part(const ZipArchive& zip, const std::string& name, bool required) {
    Result<std::optional<std::string>> bytes = zip.read(name);
    if (!bytes.ok()) {
        return bytes.error();
    }
    if (!bytes.value()) {
        if (required) {
            return unconvertible("the archive holds no " + name);
        }
        return XmlDocument();
    }
    XmlDocument doc = parseXml(*bytes.value());
    if (!doc) {
        return unconvertible(name + " is not well-formed XML");
    }
    return doc;
}

struct Layout {
    const char* body;
    std::vector<const char*> apart;  // parts holding notes and comments
    const char* properties;
    const char* authorNs;
    const char* author;
    const char* dateNs;
    const char* date;
    const char* formatName;
    Visitor visit;
};

std::optional<Error> readDocument(std::string_view bytes, const ImportOptions& options,
                                  const TextSink& sink, const Layout& layout) {
    Result<ZipArchive> zip = ZipArchive::open(bytes);
    if (!zip.ok()) {
        return zip.error();
    }
    Extracted all;
    std::vector<std::string> names{layout.body};
    names.insert(names.end(), layout.apart.begin(), layout.apart.end());
    for (const std::string& name : names) {
        Result<XmlDocument> doc = part(zip.value(), name, name == layout.body);
        if (!doc.ok()) {
            return doc.error();
        }
        if (doc.value()) {
            layout.visit(xmlDocGetRootElement(doc.value().get()), all.body, all);
        }
    }
    ImportedText out;
    out.text = tidyLines(all.body);
    const std::string notes = tidyLines(all.notes), comments = tidyLines(all.comments);
    if (options.keepEverything) {
        out.text += (notes.empty() ? "" : "\n" + notes) + (comments.empty() ? "" : "\n" + comments);
    } else {
        addRemoval(out.removals, "footnotes", lineCount(notes));
        addRemoval(out.removals, "comments", lineCount(comments));
    }
    if (out.text.empty() && notes.empty()) {
        return unconvertible(std::string("the ") + layout.formatName + " holds no text");
    }
    if (Result<XmlDocument> properties = part(zip.value(), layout.properties, false);
        properties.ok() && properties.value()) {
        const xmlNode* root = xmlDocGetRootElement(properties.value().get());
        out.author = firstText(root, layout.authorNs, layout.author);
        out.date = firstText(root, layout.dateNs, layout.date).substr(0, 10);
    }
    sink(std::move(out));
    return std::nullopt;
}

}  // namespace

std::optional<Error> readWordDocument(std::string_view bytes, const ImportOptions& options,
                                      const TextSink& sink) {
    static const Layout kWord{"word/document.xml",
                              {"word/footnotes.xml", "word/endnotes.xml", "word/comments.xml"},
                              "docProps/core.xml",
                              kDcNs,
                              "creator",
                              kTermsNs,
                              "created",
                              "Word document",
                              visitWord};
    return readDocument(bytes, options, sink, kWord);
}

std::optional<Error> readOpenDocument(std::string_view bytes, const ImportOptions& options,
                                      const TextSink& sink) {
    static const Layout kOpenDocument{
        "content.xml",     {},      "meta.xml",      kMetaNs,
        "initial-creator", kMetaNs, "creation-date", "OpenDocument text",
        visitOpenDocument};
    return readDocument(bytes, options, sink, kOpenDocument);
}

std::string officeLibrary() {
    return ZipArchive::library() + ", libxml2 " + LIBXML_DOTTED_VERSION;
}

}  // namespace pelmora
