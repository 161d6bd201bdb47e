// The listings of the records: -xUDQNSHOW and the notice types of -hn.
#include <string>

#include "driver/state.h"
#include "reports/output.h"
#include "udqn/udqn.h"

namespace vek {

namespace {

const char* YesNo(int on) { return on ? "Yes" : "No"; }

const char* ContextName(int context) {
  switch (context) {
    case kUdqnLine:
      return "Line";
    case kUdqnCode:
      return "Code";
    case kUdqnComment:
      return "Comment";
    case kUdqnString:
      return "String";
    default:
      return "Unknown";
  }
}

void FlagLine(G& g, const char* label, const UdqnFlags& flags) {
  Out(g, "%s", label);
  for (int i = 0; i < flags.count; ++i) Out(g, " %d", flags.number[i]);
  Out(g, "\n");
}

void ShowRecord(G& g, const UdqnRecord& r) {
  // Patterns and messages hold '<' and '&' often enough to break a page.
  auto text = [&](const std::string& s) { return EscapeFor(g, s); };
  Out(g, "\n  #------------------------------------------------------\n");
  Out(g, "UDQN Id      : %d\n", r.id);
  Out(g, "Active       : %s\n", YesNo(r.active));
  Out(g, "Sources      :");
  for (const std::string& s : r.sources) Out(g, " %s", text(s).c_str());
  Out(g, "\n");
  Out(g, "Context      : %s\n", ContextName(r.context));
  Out(g, "Pattern      : %s\n", text(r.pattern).c_str());
  FlagLine(g, "Set Flags    :", r.set_flags);
  FlagLine(g, "Check Flags  :", r.check_flags);
  FlagLine(g, "!Check Flags :", r.not_check_flags);
  FlagLine(g, "Clear Flags  :", r.clear_flags);
  Out(g, "Emit EOF Flag: %s\n", YesNo(r.emit_eof));
  Out(g, "Silent Flag  : %s\n", YesNo(r.silent));
  Out(g, "Compile      : %s\n", text(r.compile_message).c_str());
  Out(g, "String       : %s\n", text(r.test_string).c_str());
  Out(g, "Test         : %s\n", text(r.test_result).c_str());
  Out(g, "Count        : %d\n", r.count);
  Out(g, "Summary      : %s\n", text(r.summary).c_str());
  Out(g, "Message      : %s\n", text(r.message).c_str());
  Out(g, "Formated     : \n");
  UdqnMessageValues example;
  example.file = "ExampleFileName.c";
  example.line = "Some Example Source Code Line;";
  example.line_number = 127;
  example.function = "SomeExampleFunction";
  example.type = "SomeExampleClass";
  Out(g, "%s\n", text(udqn_format_message(r.message, example, false)).c_str());
}

}  // namespace

void udqn_show(G& g) {
  for (const auto& r : g.udqn.records) ShowRecord(g, *r);
}

void udqn_list_notice_types(G& g) {
  for (const auto& r : g.udqn.records) {
    if (r->summary.size() <= 1) continue;
    Out(g, "  Notice %-4d: [%3s] %s\n", r->id, r->active ? "On" : "Off",
        EscapeFor(g, r->summary).c_str());
  }
}

}  // namespace vek
