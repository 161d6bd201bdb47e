// The report head written before the first file, the CSV banner, the XML
// head, the mode legend and the trailer.
#include <string>

#include "driver/state.h"
#include "reports/output.h"
#include "reports/version.h"
#include "udqn/udqn.h"

namespace vek {

namespace {

void WriteHtmlProlog(FILE* s, const G& g) {
  const Config& c = g.cfg;
  fprintf(s, "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n");
  fprintf(s,
          "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
          "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n");
  fprintf(s, "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n");
  fprintf(s, "<head>");
  fprintf(s, "<title>Vek Code Gauge %s</title>\n", kVersion);
  fprintf(s,
          "<meta http-equiv=\"Content-Type\" content=\"text/html; "
          "charset=iso-8859-1\" />");
  fprintf(s, "</head>\n");
  bool colours = !c.color_text.empty() && !c.color_vlink.empty() &&
                 !c.color_link.empty();
  if (!c.color_background.empty()) {
    if (colours)
      fprintf(s,
              "<body bgcolor=\"%s\" text=\"%s\" vlink=\"%s\" link=\"%s\" "
              "alink=\"%s\" >\n",
              c.color_background.c_str(), c.color_text.c_str(),
              c.color_vlink.c_str(), c.color_link.c_str(),
              c.color_alink.c_str());
    else
      fprintf(s,
              "<body bgcolor=\"%s\" text=\"#000000\" vlink=\"#660099\" "
              "link=\"#0000ee\" alink=\"#CCCCCC\">\n",
              c.color_background.c_str());
  } else if (colours) {
    fprintf(s, "<body text=\"%s\" vlink=\"%s\" link=\"%s\" alink=\"%s\">\n",
            c.color_text.c_str(), c.color_vlink.c_str(), c.color_link.c_str(),
            c.color_alink.c_str());
  } else {
    fprintf(s,
            "<body text=\"#000000\" vlink=\"#660099\" link=\"#0000ee\" "
            "alink=\"#CCCCCC\">\n");
  }
  fprintf(s, "<pre>\n");
}

// Centres on the report stream, which is where every head is written.
void Centered(FILE* s, G& g, const std::string& html, const std::string& plain) {
  FILE* saved = g.report_stream;
  g.report_stream = s;
  center_html_line(g, html, plain);
  g.report_stream = saved;
}

void WriteProductLines(FILE* s, G& g) {
  const Config& c = g.cfg;
  std::string version = std::string("Version ") + kVersion + " - " + kWebAddress;
  std::string run_date = FormatTime(RunTime(), "%b %d, %Y");
  if (g.opt.html_flag) {
    if (c.report_header_active)
      fprintf(s, "%s\n", c.report_header_html.c_str());
    fprintf(s, "<b><font color=\"%s\">\n", c.color_vek.c_str());
    std::string product = "     Vek Code Gauge&#8482; for C, C++, C# and Java";
    Centered(s, g, product, product);
    fprintf(s, "</font></b>");
    std::string link = std::string("Version ") + kVersion + " - <a href=\"" +
                       kWebAddress + "\">" + kWebAddress + "</a>";
    Centered(s, g, link, version);
    fprintf(s, "\n");
    fprintf(s,
            "  <b><font color=\"%s\">Build Date</font></b>  : <b>%-15s"
            "                     <font color=\"%s\">Run Date</font></b>: %s \n",
            c.color_date.c_str(), kBuildDate, c.color_date.c_str(),
            run_date.c_str());
  } else {
    if (c.report_header_active)
      Centered(s, g, c.report_header_text, c.report_header_text);
    fprintf(s, "\n");
    std::string product = "Vek Code Gauge (TM) for C, C++, C# and Java";
    Centered(s, g, product, product);
    Centered(s, g, version, version);
    fprintf(s, "\n");
    fprintf(s, "  Build Date  : %-15s                     Run Date: %s\n",
            kBuildDate, run_date.c_str());
  }
  fprintf(s, "  %s%s\n\n", kUnderscores36, kUnderscores36);
}

}  // namespace

void write_head(FILE* s, G& g, int syntax_error) {
  const Options& o = g.opt;
  const Config& c = g.cfg;
  release_held_output(g, false);
  if (o.html_flag) WriteHtmlProlog(s, g);
  if (!o.no_header_flag) {
    WriteProductLines(s, g);
    if (!o.no_config_flag) {
      if (o.html_flag)
        fprintf(s, "  <b><font color=\"%s\">Config. File</font></b>: %s\n",
                c.color_header.c_str(), g.paths.cfg_file.c_str());
      else
        fprintf(s, "  Config. File: %s\n",
                wrap_name(g.paths.cfg_file, 58, 16, g).c_str());
    }
    if (!o.no_command_flag) {
      if (o.html_flag)
        fprintf(s, "  <b><font color=\"%s\">Command Line</font></b>: ",
                c.color_header.c_str());
      else
        fprintf(s, "  Command Line: ");
      echo_command_line(s, g);
      fprintf(s, "\n");
    }
  }
  if (syntax_error) {
    if (o.html_flag)
      fprintf(s,
              "<b><font color=\"%s\">  Command Line Syntax Error, Try -hs for "
              "help...\n</font></b>",
              c.color_error.c_str());
    else
      fprintf(s, "  Command Line Syntax Error, Try -hs for help...\n");
    fprintf(s, "  ");
    echo_command_line(s, g);
    fprintf(s, "\n\n");
    if (o.html_flag) fprintf(s, "%s", kHtmlTrailer);
    Stop(g, 1);
    return;
  }
  if (!o.no_config_flag && o.diff_config_flag) {
    const char* name = g.paths.workdiff_cfg_file.c_str();
    if (o.html_flag)
      fprintf(s, "  <b><font color=\"%s\">Diff Config.</font></b>: %s\n",
              c.color_header.c_str(), name);
    else if (o.csv_flag)
      fprintf(s, "Diff Config File: %s\n", name);
    else if (o.xml_flag)
      fprintf(s, "<diff_config_file>%s</diff_config_file>\n",
              XmlEscape(name).c_str());
    else
      fprintf(s, "  Diff Config.: %s\n", name);
  }
  if (o.notice_flag) load_udqn_file(nullptr, g);
  if (!o.no_header_flag && o.title_flag) {
    fprintf(s, "\n");
    if (o.html_flag) {
      std::string html = "<b><i>" + HtmlEscape(o.title) + "</i></b>";
      Centered(s, g, html, o.title);
    } else {
      Centered(s, g, o.title, o.title);
    }
    fprintf(s, "\n");
  }
  g.head_written = 1;
}

void write_csv_head(FILE* s, G& g) {
  const Options& o = g.opt;
  const Config& c = g.cfg;
  release_held_output(g, false);
  if (c.report_header_active)
    fprintf(s, "%s\n\n", c.report_header_text.c_str());
  fprintf(s, "Vek Code Gauge\n");
  fprintf(s, "%s,%s\n", "Version", kVersion);
  fprintf(s, "Date Processed,%s\n\n", Ctime24(RunTime()).c_str());
  if (!o.no_command_flag) {
    fprintf(s, "VEK Command Line,");
    echo_command_line(s, g);
    fprintf(s, "\n");
  }
  if (!o.no_config_flag)
    fprintf(s, "Configuration File,%s\n", g.paths.cfg_file.c_str());
  if (o.notice_flag) load_udqn_file(nullptr, g);
  if (!o.no_header_flag && o.title_flag)
    fprintf(s, "\n%s\n", CsvEscape(o.title).c_str());
}

void write_xml_head(FILE* s, G& g) {
  const Options& o = g.opt;
  const Config& c = g.cfg;
  fprintf(s, "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n");
  if (!o.xsl_file.empty()) {
    std::string href = o.xsl_file;
    if (href.find("file:///") == std::string::npos && href[0] != '/' &&
        href[0] != '.') {
      for (char& ch : href)
        if (ch == '\\') ch = '/';
      href = "file:///" + href;
    }
    fprintf(s, "<?xml-stylesheet type=\"text/xsl\" href=\"%s\"?>\n",
            XmlEscape(href).c_str());
  }
  fprintf(s, "<bwvek>\n");
  if (c.report_header_active)
    fprintf(s, "<banner>%s</banner>\n", XmlEscape(c.report_header_text).c_str());
  fprintf(s, "<program>Vek Code Gauge</program>\n");
  fprintf(s, "<version>%s</version>\n", kVersion);
  fprintf(s, "<date>%s</date>\n", Ctime24(RunTime()).c_str());
  if (!o.no_command_flag) echo_command_line(s, g);
  if (!o.no_config_flag)
    fprintf(s, "<config_file>%s</config_file>\n",
            XmlEscape(g.paths.cfg_file).c_str());
  if (o.notice_flag) load_udqn_file(nullptr, g);
  if (!o.no_header_flag && o.title_flag)
    fprintf(s, "<title>%s</title>\n", XmlEscape(o.title).c_str());
  // Messages of the start-up (a switch warning, the class method notice of
  // the environment) come after the declaration, as text of the root.
  release_held_output(g, true);
}

void write_mode_legend(G& g) {
  const Options& o = g.opt;
  // The legend is text for people; an XML report says what it holds in its
  // elements.
  if (o.xml_flag) return;
  if (o.notice_visual_flag && o.notice_collect_flag) {
    center_line(g, "Visual Studio Code Quality Notices");
    Out(g,
        "\n  Double click any notice in the Visual Studio output window to\n"
        "  jump to the specified line number\n\n");
  }
  if (o.totals_flag || o.csv_flag) return;
  if (o.macro_flag && !o.notice_flag) section_banner(g, "Macro Metrics");
  if (o.function_flag)
    section_banner(g, o.function_list_flag ? "Function Listing"
                                           : "Function Metrics");
  if (o.object_flag) section_banner(g, "Class/Struct Metrics");
  if (o.extract_docs) section_banner(g, "Template Identification");
  if (o.deterministic_flag)
    section_banner(g, "Determine Source vs. LOC Algorithms");
  if (o.function_detail_flag)
    section_banner(g, "Complexity Detail Analysis");
  else if (o.complexity_flag)
    section_banner(g, "Complexity Analysis");
  if (o.notice_flag) section_banner(g, "Quality Analysis");
  if (o.alloc_flag)
    section_banner(g, "Memory Allocation/De-allocation Metrics");
  if (o.extract_docs) section_banner(g, "Comment Documentation");
  if (o.extract_strings) section_banner(g, "Literal String Extraction Mode");
  if (o.extract_comments || o.extract_docs)
    section_banner(g, "Comment Extraction Mode");
}

void write_trailer(G& g) {
  const Config& c = g.cfg;
  bool header = c.report_header_active != 0;
  if (g.opt.html_flag) {
    if (header) Out(g, "%s\n", c.report_header_html.c_str());
    Out(g, "%s", kHtmlTrailer);
  } else if (g.opt.xml_flag) {
    if (header)
      Out(g, "<banner>%s</banner>\n", XmlEscape(c.report_header_text).c_str());
    Out(g, "</bwvek>\n");
  } else if (g.opt.csv_flag) {
    if (header) Out(g, "\n%s\n", c.report_header_text.c_str());
  } else if (header) {
    center_line(g, c.report_header_text);
  }
}

}  // namespace vek
