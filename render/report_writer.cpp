#include "render/report_writer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QUrl>
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/sha256.h"
#include "files/replacing_file.h"
#include "render/chart_painter.h"
#include "report/report_html.h"

namespace pelmora {

namespace {

// A chart's size on the page, in points; images are drawn at thrice that for print.
const QSize kChartSize(520, 300);
constexpr qreal kImageScale = 3;
// The resolution the toolkit lays text out at, whose pixels the page size is given in.
constexpr int kLayoutDpi = 96;

std::string chartName(std::size_t index) {
    return "chart-" + std::to_string(index) + ".png";
}

std::string inlineSvg(const ReportChart& chart) {
    const QByteArray svg = chartSvg(chart, kChartSize);
    const qsizetype start = svg.indexOf("<svg");  // without the XML declaration
    return svg.mid(start < 0 ? 0 : start).trimmed().toStdString();
}

// The document laid out by the toolkit, charts as images it holds as resources.
std::unique_ptr<QTextDocument> laidOut(const ReportDocument& document) {
    auto text = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    // No ligatures: a reader of the PDF's text must find "affect", not its "ff" glyph.
    font.setStyleStrategy(QFont::PreferNoShaping);
    text->setDefaultFont(font);
    const std::vector<const ReportChart*> charts = document.charts();
    for (std::size_t i = 0; i < charts.size(); ++i) {
        text->addResource(QTextDocument::ImageResource, QUrl(QString::fromStdString(chartName(i))),
                          chartImage(*charts[i], kChartSize, kImageScale));
    }
    text->setHtml(
        QString::fromStdString(reportHtml(document, [](std::size_t i, const ReportChart&) {
            return "<img src=\"" + chartName(i) + "\" width=\"" +
                   std::to_string(kChartSize.width()) + "\" height=\"" +
                   std::to_string(kChartSize.height()) + "\">";
        })));
    return text;
}

// The pages laid out on the printable area less a footer line, each with its footer: the
// report's title, its time and the page of how many.
void printPages(QTextDocument& text, QPdfWriter& pdf, const ReportDocument& document) {
    const QSizeF area = pdf.pageLayout().paintRectPixels(kLayoutDpi).size();
    const qreal footer = 2.5 * QFontMetricsF(text.defaultFont()).height();
    text.setDocumentMargin(0);
    text.setPageSize(QSizeF(area.width(), area.height() - footer));
    const int pages = text.pageCount();
    QPainter painter(&pdf);
    const qreal scale = static_cast<qreal>(pdf.resolution()) / kLayoutDpi;
    painter.scale(scale, scale);
    // In layout pixels, as the scaled painter draws them, not in the printer's points.
    QFont footerFont = text.defaultFont();
    footerFont.setPixelSize(qRound(footerFont.pointSizeF() * kLayoutDpi / 72));
    painter.setFont(footerFont);
    const qreal height = text.pageSize().height();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            pdf.newPage();
        }
        painter.save();
        painter.translate(0, -page * height);
        text.drawContents(&painter, QRectF(0, page * height, area.width(), height));
        painter.restore();
        painter.drawText(
            QRectF(0, area.height() - footer / 2, area.width(), footer / 2),
            Qt::AlignRight | Qt::AlignBottom,
            QString::fromStdString(document.title + " · " + document.created + " · page " +
                                   std::to_string(page + 1) + " of " + std::to_string(pages)));
    }
}

QByteArray pdfOf(const ReportDocument& document) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(QString::fromStdString(document.title));
        pdf.setCreator(QStringLiteral("Pelmora"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
        printPages(*laidOut(document), pdf, document);
    }
    return buffer.data();
}

QByteArray odtOf(const ReportDocument& document) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "odf");
    if (!writer.write(laidOut(document).get())) {
        return {};
    }
    return buffer.data();
}

}  // namespace

std::optional<ReportFormat> reportFormatOf(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".html" || extension == ".htm") {
        return ReportFormat::Html;
    }
    if (extension == ".pdf") {
        return ReportFormat::Pdf;
    }
    if (extension == ".odt") {
        return ReportFormat::Odt;
    }
    return std::nullopt;
}

std::string renderedReport(const ReportDocument& document, ReportFormat format) {
    switch (format) {
        case ReportFormat::Html:
            return reportHtml(
                document, [](std::size_t, const ReportChart& chart) { return inlineSvg(chart); });
        case ReportFormat::Pdf:
            return pdfOf(document).toStdString();
        case ReportFormat::Odt:
            return odtOf(document).toStdString();
    }
    return {};
}

Result<std::string> writeRenderedReport(const ReportDocument& document,
                                        const std::filesystem::path& file,
                                        const CancelToken* cancel) {
    const std::optional<ReportFormat> format = reportFormatOf(file);
    if (!format) {
        return saveError(file, "a report is written as .html, .pdf or .odt");
    }
    const std::string bytes = renderedReport(document, *format);
    if (bytes.empty()) {
        return saveError(file, "the report could not be laid out");
    }
    if (std::optional<Error> failed = writeWholeFile(
            file, [&](const std::function<void(std::string_view)>& piece) { piece(bytes); },
            cancel)) {
        return *failed;
    }
    return sha256Hex(bytes);
}

struct RenderingApplication::Parts {
    int argc = 3;
    char name[12] = "pelmora-cli";
    char option[10] = "-platform";
    char platform[10] = "offscreen";
    char* argv[4] = {name, option, platform, nullptr};
    std::unique_ptr<QGuiApplication> app;
};

RenderingApplication::RenderingApplication() {
    if (QCoreApplication::instance() == nullptr) {
        // The command line's output is its own: the toolkit's notes on its environment (no
        // runtime folder, no display) say nothing about the report.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                fprintf(stderr, "pelmora-cli: %s\n", text.toLocal8Bit().constData());
            }
        });
        parts_ = std::make_unique<Parts>();
        parts_->app = std::make_unique<QGuiApplication>(parts_->argc, parts_->argv);
    }
}

RenderingApplication::~RenderingApplication() = default;

}  // namespace pelmora
