#include "reports/file_header.h"

#include <string>

#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

bool IsSummaryRow(std::string_view name, int64_t mtime) {
  return mtime == 0 && (name.find("Total") != std::string_view::npos ||
                        name.find("Average") != std::string_view::npos);
}

void ShortHeader(std::string_view name, int64_t mtime, long size, G& g) {
  const Options& o = g.opt;
  std::string date = Ctime24(static_cast<time_t>(mtime));
  std::string wrapped = wrap_name(name, 72 / 2, 8, g);
  if (o.html_flag) {
    Out(g, "\n  <b><font color=\"%s\">%s</font></b>", g.cfg.color_date.c_str(),
        date.c_str());
    Out(g, "\n  <a href=\"%s\" target=\"_blank\"><b>%s</b></a>\n",
        file_link(name, g).c_str(), HtmlEscape(wrapped).c_str());
  } else if (o.xml_flag) {
    Out(g, "<date>%s</date>\n", date.c_str());
    Out(g, "<size_bytes>%ld</size_bytes>\n", size);
    Out(g, "<name>%s</name>\n", XmlEscape(name).c_str());
  } else if (o.csv_flag) {
    if (g.cfg.show_file_date_size) Out(g, "%s\n", CsvEscape(name).c_str());
  } else {
    Out(g, "\n  %s\n", wrapped.c_str());
  }
}

void FullHeader(std::string_view name, int64_t mtime, long size,
                bool detail_row, G& g) {
  const Options& o = g.opt;
  bool summary = IsSummaryRow(name, mtime);
  std::string wrapped = wrap_name(name, 66, 8, g);
  if (o.html_flag) {
    if (summary)
      Out(g, "\n  <b><font color=\"%s\">%s</font></b>  Bytes: %ld\n",
          g.cfg.color_header.c_str(), HtmlEscape(wrapped).c_str(), size);
    else
      Out(g, "\n  <b>File</b>: <b><a href=\"%s\" target=\"_blank\">%s</a></b>\n",
          file_link(name, g).c_str(), HtmlEscape(wrapped).c_str());
  } else if (o.xml_flag) {
    Out(g, "<name>%s</name>\n", XmlEscape(name).c_str());
    if (summary && !o.list_only_flag) Out(g, "<bytes>%ld</bytes>\n", size);
  } else if (o.csv_flag) {
    Out(g, summary ? "\n%s\n" : "\nFile,%s\n", CsvEscape(name).c_str());
  } else {
    Out(g, summary ? "\n  %s\n" : "\n  File: %s\n", wrapped.c_str());
  }

  if (g.cfg.show_file_date_size && mtime > 0) {
    std::string date = Ctime24(static_cast<time_t>(mtime));
    char size_text[64];
    if (o.html_flag) {
      snprintf(size_text, sizeof size_text, "<b>File Size</b>: %ld Bytes", size);
      Out(g, "  <b>Date</b>: %s%49s\n", date.c_str(), size_text);
    } else if (o.xml_flag) {
      if (!o.list_only_flag) {
        Out(g, "<date>%s</date>\n", date.c_str());
        Out(g, "<size_bytes>%ld</size_bytes>\n", size);
      }
    } else if (o.csv_flag) {
      Out(g, "Date,%s\n", date.c_str());
      Out(g, "Size,%ld,Bytes\n", size);
    } else {
      snprintf(size_text, sizeof size_text, "File Size: %ld Bytes", size);
      Out(g, "  Date: %s%42s\n", date.c_str(), size_text);
    }
  }

  bool text_or_html = !o.xml_flag && !o.csv_flag;
  if (text_or_html && !o.report_option_flag && !o.summary_flag) Out(g, "\n");
  if (o.report_option_flag && text_or_html && !detail_row)
    Out(g, "  %s%s\n\n", kUnderscores36, kUnderscores36);
}

}  // namespace

void FileHeader(std::string_view name, int64_t mtime, long size, int suppress,
                G& g) {
  if (suppress && !g.opt.workfile_create) {
    ShortHeader(name, mtime, size, g);
    return;
  }
  FullHeader(name, mtime, size, false, g);
}

void FileDetailHeader(std::string_view name, int64_t mtime, long size, G& g) {
  FullHeader(name, mtime, size, true, g);
}

}  // namespace vek
