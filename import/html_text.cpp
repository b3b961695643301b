#include "import/html_text.h"

#include <gumbo.h>

#include <utility>
#include <vector>

#include "import/imported_text.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

bool isDropped(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_NOSCRIPT:
        case GUMBO_TAG_TEMPLATE:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_OBJECT:
        case GUMBO_TAG_SVG:
        case GUMBO_TAG_MATH:
        case GUMBO_TAG_SELECT:
            return true;
        default:
            return false;
    }
}

bool isBlock(GumboTag tag) {
    static constexpr GumboTag kBlocks[] = {
        GUMBO_TAG_HTML,       GUMBO_TAG_BODY,    GUMBO_TAG_P,          GUMBO_TAG_DIV,
        GUMBO_TAG_BR,         GUMBO_TAG_LI,      GUMBO_TAG_H1,         GUMBO_TAG_H2,
        GUMBO_TAG_H3,         GUMBO_TAG_H4,      GUMBO_TAG_H5,         GUMBO_TAG_H6,
        GUMBO_TAG_TR,         GUMBO_TAG_TABLE,   GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_PRE,
        GUMBO_TAG_SECTION,    GUMBO_TAG_ARTICLE, GUMBO_TAG_HEADER,     GUMBO_TAG_FOOTER,
        GUMBO_TAG_UL,         GUMBO_TAG_OL,      GUMBO_TAG_DL,         GUMBO_TAG_DT,
        GUMBO_TAG_DD,         GUMBO_TAG_HR,      GUMBO_TAG_ADDRESS,    GUMBO_TAG_FIGURE,
        GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FORM,    GUMBO_TAG_NAV,        GUMBO_TAG_ASIDE,
        GUMBO_TAG_MAIN,       GUMBO_TAG_CAPTION, GUMBO_TAG_FIELDSET,   GUMBO_TAG_LEGEND,
        GUMBO_TAG_DETAILS,    GUMBO_TAG_SUMMARY, GUMBO_TAG_CENTER};
    for (const GumboTag block : kBlocks) {
        if (tag == block) {
            return true;
        }
    }
    return false;
}

bool isCell(GumboTag tag) {
    return tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH;
}

// Text as a browser lays it out: runs of white space as one space, none at a line's start.
class Layout {
public:
    void text(std::string_view s, bool preformatted) {
        for (const char c : s) {
            if (preformatted) {
                out_ += c;
                atLineStart_ = c == '\n';
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
                space_ = true;
                continue;
            }
            if (space_ && !atLineStart_) {
                out_ += ' ';
            }
            out_ += c;
            space_ = false;
            atLineStart_ = false;
        }
    }
    void lineBreak(bool always) {
        if (always || !atLineStart_) {
            out_ += '\n';
        }
        atLineStart_ = true;
        space_ = false;
    }
    void space() { space_ = true; }
    const std::string& result() const { return out_; }

private:
    std::string out_;
    bool atLineStart_ = true;
    bool space_ = false;
};

// Walks the tree without recursion: a hostile page may nest elements without end.
void layOut(const GumboNode* root, Layout& layout) {
    struct Frame {
        const GumboNode* node;
        unsigned child;
    };
    std::vector<Frame> stack{{root, 0}};
    int preformatted = 0;
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const GumboNode* node = frame.node;
        const bool element = node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_DOCUMENT;
        const GumboVector* children = node->type == GUMBO_NODE_DOCUMENT ? &node->v.document.children
                                      : element                         ? &node->v.element.children
                                                                        : nullptr;
        const GumboTag tag =
            node->type == GUMBO_NODE_ELEMENT ? node->v.element.tag : GUMBO_TAG_UNKNOWN;
        if (children == nullptr || frame.child >= children->length) {
            if (tag == GUMBO_TAG_PRE) {
                --preformatted;
            }
            if (isBlock(tag)) {
                layout.lineBreak(tag == GUMBO_TAG_BR);
            } else if (isCell(tag)) {
                layout.space();
            }
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children->data[frame.child++]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_CDATA ||
            child->type == GUMBO_NODE_WHITESPACE) {
            layout.text(child->v.text.text, preformatted > 0);
        } else if (child->type == GUMBO_NODE_ELEMENT && !isDropped(child->v.element.tag)) {
            const GumboTag childTag = child->v.element.tag;
            if (isBlock(childTag) && childTag != GUMBO_TAG_BR) {
                layout.lineBreak(false);
            }
            preformatted += childTag == GUMBO_TAG_PRE ? 1 : 0;
            stack.push_back({child, 0});
        }
    }
}

}  // namespace

std::string htmlText(std::string_view html) {
    const std::string utf8 = decodeText(std::string(html)).text;
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.data(), utf8.size());
    Layout layout;
    layOut(output->document, layout);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return tidyLines(layout.result());
}

std::string htmlLibrary() {
    return std::string("gumbo ") + PELMORA_GUMBO_VERSION;
}

}  // namespace pelmora
