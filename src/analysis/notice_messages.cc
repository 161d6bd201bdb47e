#include "analysis/notice_messages.h"

#include <cstdarg>
#include <cstdio>

#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

// How a message begins in its plain form.
enum Head {
  kLine,       // "Notice #n: Line %d" + separator + body
  kNoLine,     // "Notice #n: " + body; the other forms add the line
  kFileLevel,  // "Notice #n: " + body in every form; no line at all
  kFileLine,   // "Notice #n: File %s: Line %d" + body
};

struct Message {
  Head head = kLine;
  const char* sep = ", ";  // between "Line %d" and the body (kLine)
  std::string body;
  bool reorders = true;    // has a form with the line first
};

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  char small[512];
  va_list copy;
  va_copy(copy, ap);
  int n = QuickFormat(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) {
    va_copy(copy, ap);
    n = vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
  }
  std::string out;
  if (n < 0) {
    out.clear();
  } else if (static_cast<size_t>(n) < sizeof small) {
    out.assign(small, static_cast<size_t>(n));
  } else {
    out.resize(static_cast<size_t>(n) + 1);
    vsnprintf(out.data(), out.size(), fmt, ap);
    out.resize(static_cast<size_t>(n));
  }
  va_end(ap);
  return out;
}

// The word notices #51 to #54 name when the caller gave none.
const char* BlockWord(int n) {
  switch (n) {
    case 52: return "class";
    case 53: return "struct";
    case 54: return "interface";
    default: return "function";
  }
}

Message Line(const char* sep, std::string body) {
  Message m;
  m.head = kLine;
  m.sep = sep;
  m.body = std::move(body);
  return m;
}

Message NoLine(std::string body) {
  Message m;
  m.head = kNoLine;
  m.body = std::move(body);
  return m;
}

Message FileLevel(std::string body) {
  Message m;
  m.head = kFileLevel;
  m.body = std::move(body);
  m.reorders = false;
  return m;
}

Message FileLine(std::string body) {
  Message m;
  m.head = kFileLine;
  m.body = std::move(body);
  return m;
}

// The message of notice `n` without its head.  In HTML the names and
// texts it quotes are escaped, and the file-level notices mark their
// values bold.
Message MessageOf(int n, const NoticeArgs& a, const G& g, bool html) {
  auto text = [&](std::string_view s) {
    return html ? HtmlEscape(s) : std::string(s);
  };
  const std::string t = text(a.text);
  const char* name = t.c_str();
  const int* v = a.v;
  const double* p = a.p;
  const char* kMacro =
      "within a MACRO.  This syntax is non-portable and is\n"
      "           NOT recommended within macro definitions.\n";
  const char* kCompound =
      "           This can be a problematic construct in compound statements.\n";
  switch (n) {
    case 1:
      return Line(": ", Format(
          "Line character length = %d.  This width\n"
          "           exceeds the standard terminal width of %d characters.\n",
          v[0], v[1]));
    case 2:
      return Line(": ", Format(
          "The function name:\n"
          "           %s\n"
          "           of %d characters is greater than %d characters in length.\n"
          "           This can be a portability and/or maintenance issue.\n",
          name, v[0], v[1]));
    case 3:
      return Line(", ",
          "'...' ellipsis found for a variable argument list.\n"
          "           The compiler will not check the types of these parameters.\n");
    case 4:
      return Line(", ",
          "'=' assignment identified within an 'if' condition.\n"
          "           This is a logical error or indicates an assignment is within a\n"
          "           testable expression.  Code clarity would be enhanced by moving\n"
          "           any embedded expressions before conditional and testing a\n"
          "           single parameter.\n");
    case 5:
      return Line(", ",
          "'=' assignment identified within an 'while' condition.\n"
          "           This is a logical error or indicates an assignment is within a\n"
          "           testable expression.  Code clarity would be enhanced by moving any embedded\n"
          "           expressions before conditional and testing a single parameter.\n");
    case 6:
      if (v[0] != 0)
        return Line(", ", std::string("a pre-decrement '-- operator' identified\n"
                                      "           ") + kMacro);
      return Line(", ", std::string("pre-decrement '-- operator' identified.\n") +
                            kCompound);
    case 7:
      if (v[0] != 0)
        return Line(", ", std::string("a pre-increment '++ operator' identified\n"
                                      "           ") + kMacro);
      return Line(", ", std::string("pre-increment '++ operator' identified.\n") +
                            kCompound);
    case 8:
      return Line(", ",
          "realloc has been identified.\n"
          "           A realloc of 0 size will free the pointer.  This may\n"
          "           cause an unanticipated action on a NULL pointer.  realloc\n"
          "           may also cause a hidden memory leak.\n");
    case 9:
      return Line(", ",
          "'goto' keyword identified.  This can cause\n"
          "           maintenance difficulties and propagate hidden logic flow.\n");
    case 10:
      return Line(": ",
          "Identified a Non-ANSI function prototype\n"
          "           Function parameters will not be type checked.\n");
    case 11:
    case 12:
      return Line(": ", std::string(n == 11 ? "Brackets, [ ] are not balanced.\n"
                                            : "Parenthesis, () are not balanced.\n") +
          "           The compiler should have caught this error.\n"
          "           This notice may indicate dead code within the\n"
          "           source commented out through a #define construct\n");
    case 13:
      return Line(": ",
          "All 'switch' statements do not have a matching 'default'\n"
          "           statements.  This could cause unexpected behavior if the\n"
          "           'switch' statement is not met by a 'case' statement.\n");
    case 14: {
      const bool with_default = g.cfg.default_in_case_break != 0;
      const int cases = v[0] + (with_default ? v[1] : 0);
      std::string counts =
          with_default
              ? Format("           case : %-4d  default: %-4d               Total %-4d\n",
                       v[0], v[1], cases)
              : Format("           case : %-4d                              Total %-4d\n",
                       v[0], cases);
      return NoLine(
          "All 'case/default' conditions do not have a matching\n"
          "           'break', or 'fall through' comments.\n" + counts +
          Format("           break: %-4d  fall through comment: %-4d  Total %-4d\n",
                 v[2], v[3], v[2] + v[3]) +
          "           This condition can occur when sequential case statements are used.\n"
          "           Check this function to insure no erroneous behavior will occur\n"
          "           by an unexpected fall through to the next case statement.\n"
          "           You may indicate to VEK that a 'case' statement is designed\n"
          "           to fall through by using a comment with these words\n");
    }
    case 15:
      return Line(", ", Format(
          "friend class '%s' identified.\n"
          "           This is a problematic construct as it breaks encapsulation.\n",
          name));
    case 16:
      if (!a.text.empty())
        return NoLine(Format("%s white space, %.1f%% is less than %.1f%%.\n",
                             name, p[0], p[1]));
      return NoLine(Format("Function white space, %.1f%% is less than %.1f%%.\n",
                           p[0], p[1]));
    case 17:
      return NoLine(Format("Function comments, %.1f%% are less than %.1f%%.\n",
                           p[0], p[1]));
    case 18:
      return NoLine(Format(
          "Effective Lines of Code, eLOC, in this function\n"
          "           exceed the specified standard of %d lines.\n",
          v[0]));
    case 19:
    case 20:
    case 47: {
      const char* what = n == 19   ? "File white space percentage"
                         : n == 20 ? "File comment line percentage"
                                   : "File blank line percentage";
      if (html)
        return FileLevel(Format("%s, <b>%.1f%%</b> is less than <b>%.1f%%</b> \n",
                                what, p[0], p[1]));
      return FileLevel(Format("%s, %.1f%% is less than %.1f%%\n", what, p[0], p[1]));
    }
    case 21:
      return FileLevel(Format(
          html ? "File does not contain the key string specified in the\n"
                 "            %s file.\n"
                 "            Key String: <b>%s</b>\n\n"
               : "File does not contain the key string specified in the\n"
                 "            %s file.\n"
                 "            Key String: %s\n\n",
          "vek.cfg", name));
    case 22:
      return Line(": ", Format(
          "The keyword, '%s', appears not to be delimited\n"
          "           with scope { .. } operators around its content.  This\n"
          "           could cause a maintenance problem where code falls outside\n"
          "           the intended scope of the '%s' statement.\n",
          name, name));
    case 23:
      return Line(", ",
          "The '?' operator was identified.  This implied\n"
          "           if-else construct can reduce code readability.\n");
    case 24:
      return Line(": ", Format(
          "An ANSI C++ keyword '%s' has been found\n"
          "           within a C file.  This will cause a compile error if this file\n"
          "           is compiled with a C++ compiler.  It is suggested that this\n"
          "           symbol name be changed to a non-conflicting name for C to\n"
          "           C++ migration.\n",
          name));
    case 26:
      return Line(": ",
          "The type 'void *' has been identified.\n"
          "           This data type is type independent, whereby it\n"
          "           prevents the compiler from checking the types\n"
          "           of variables and parameters.\n");
    case 27:
      return Line(": ", Format(
          "The number of function return points\n"
          "           %d exceeds the specified limit of %d.\n",
          v[0], v[1]));
    case 28:
      return Line(": ", Format(
          "The function cyclomatic complexity of\n"
          "           %d exceeds the specified limit of %d.\n",
          v[0], v[1]));
    case 29:
      return Line(": ", Format(
          "The number of function input parameters,\n"
          "           %d exceeds the specified limit of %d.\n",
          v[0], v[1]));
    case 30:
      return Line(": ",
          "A TAB character has been found.\n"
          "           Tabs embedded into code are device and editor dependent\n"
          "           for their space definition and may not display properly.\n");
    case 31:
      return NoLine(Format("%s comments, %.1f%% are less than %.1f%%.\n",
                           a.text.empty() ? "Class" : name, p[0], p[1]));
    case 32:
      return Line(": ",
          "The construct 'using namespace' has\n"
          "           been identified.  This type of design can lead to\n"
          "           spurious name collisions during integration.\n");
    case 34:
      return Line(": ",
          "A pointer to a data object has been detected\n"
          "           within the declaration of a class.  This class must\n"
          "           be inspected to insure proper memory allocation and\n"
          "           de-allocation.  This class must implement a public copy\n"
          "           constructor or a private copy constructor where by the\n"
          "           compiler will enforce no pass-by-value.\n");
    case 35:
      return Line(": ",
          "Public data has been identified with a class\n"
          "           declaration.  This design breaks object encapsulation\n"
          "           allowing free access from other objects and functions.\n");
    case 36:
      return Line(": ",
          " Protected data has been identified with a class\n"
          "           declaration.  This design allows the protected data\n"
          "           to be freely accessed down the inheritance tree.\n");
    case 37:
      return Line(": ",
          "This class does not appear to contain a\n"
          "           virtual destructor when this class defines a virtual\n"
          "           method.  This condition will cause a incomplete class\n"
          "           destruction of the derived classes from this base class.\n");
    case 38:
      return Line(": ",
          "Exception handling 'try' - 'catch' has been\n"
          "           identified.  Exception handling can be a form indirect logic\n"
          "           control similar to a goto.  The use of exception handling\n"
          "           should be driven by the design and not casually imposed\n"
          "           upon the code.\n");
    case 39:
      return Line(": ", Format(
          "The Number of %s methods exceeds the specified\n"
          "           maximum of %d methods (public, protected and private).\n",
          a.text.empty() ? "Class" : name,
          v[0] != 0 ? v[0] : g.cfg.max_class_methods));
    case 40:
      return FileLine(Format(
          "\n           The depth of the inheritance tree is greater than the specified\n"
          "           maximum value, %d.  This condition can be attributed to mixing\n"
          "           the Is-A and Has-A relationships and can make maintenance\n"
          "           very difficult.\n\n",
          v[0] != 0 ? v[0] : g.cfg.max_inheritance_depth));
    case 41:
      return FileLine(Format(
          "\n           The number of direct child classes derived from the parent\n"
          "           exceed the specified maximum, %d. This condition may indicated\n"
          "           that the base class could be parameterized to accomplish the\n"
          "           variability of the children. This creates an obscure design\n"
          "           with difficult maintenance\n\n",
          v[0] != 0 ? v[0] : g.cfg.max_child_classes));
    case 42:
      return FileLine(Format(
          "\n           Class multiple inheritance has been identified for class %s.\n"
          "           Multiple inheritance should be driven by the design and\n"
          "           never imposed as an ad-hoc solution in implementation.\n"
          "           Unexpected object behavior may result and maintenance may\n"
          "           be difficult.\n",
          name));
    case 43:
      return Line(", ",
          "The keyword 'continue' has been found.\n"
          "           The use of 'continue' can create code which is difficult\n"
          "           to maintain where the logic flow jumps to the beginning\n"
          "           of the framing control structure.\n");
    case 44:
      return Line(", ",
          "The keyword 'break' has been identified\n"
          "           outside a 'switch' logic control structure.  The use\n"
          "           of 'break' interrupts the linear logic flow and can create\n"
          "           source code which is difficult to maintain.\n");
    case 45:
      return FileLine(
          "\n           New and delete counts do not match for this file.\n"
          "           This could indicate the potential for a memory leak.\n");
    case 46:
      if (!a.text.empty())
        return NoLine(Format("%s blank line percent, %.1f%% is less than %.1f%%.\n",
                             name, p[0], p[1]));
      return NoLine(Format("Function blank line percent, %.1f%% is less than %.1f%%.\n",
                           p[0], p[1]));
    case 48:
      return Line(": ", Format(
          "The number of logical lines of code or statements\n"
          "           %d is %s to the specified minimum of %d.  This could\n"
          "           indicate a null function with no operational purpose.\n",
          v[0], html ? "&lt;=" : "<=", v[1]));
    case 49:
      return Line(": ",
          "The function has no input parameters or void.\n"
          "           Suggest using explicit parameters for interface clarity.\n");
    case 50:
      return Line(", ",
          "A variable has been identified which is\n"
          "           assigned to a literal number.  Symbolic constants should\n"
          "           be used to enhance maintainability.\n");
    case 51:
    case 52:
    case 53:
    case 54:
      return Line(", ", Format(
          "A %s has been identified which does not\n"
          "           have a preceding comment.  Comments that detail the purpose,\n"
          "           algorithms, and parameter/return definitions are suggested.\n",
          a.text.empty() ? BlockWord(n) : name));
    case 55:
      return Line("", Format(
          "\n           The depth of scope '%d' exceeds the notice limit of %d.\n",
          v[0], v[1]));
    case 56:
      return Line(", ",
          "Sequential 'break' keyword have been\n"
          "           identified without a respective case statement.  This is an\n"
          "           extremely poor programming construct and denotes an attempt to\n"
          "           circumvent VEK break/case quality notice.\n");
    case 57:
    case 58: {
      Message m = Line(", ", n == 57
          ? "A VEK skip lines token match.\n"
            "           All lines between the begin and end tokens will be ignored\n"
            "           for VEK processing.\n"
          : "A VEK skip quality notice token match.\n"
            "           All lines between the begin and end tokens will be ignored\n"
            "           for VEK quality notice processing.\n");
      m.reorders = false;
      return m;
    }
    default:
      // Notices without a check of their own (#25, #33) still say what
      // they are when raised.
      return Line(", ", "\n");
  }
}

}  // namespace

std::string long_notice_message(int number, int line_number,
                                std::string_view file, const NoticeArgs& a,
                                NoticeForm form, const G& g) {
  const bool html = form == kNoticeHtml;
  Message m = MessageOf(number, a, g, html);
  if (form == kNoticeReordered && !m.reorders) form = kNoticePlain;
  // The body follows a colon on a blank unless it starts a line itself.
  const char* gap = !m.body.empty() && m.body[0] == '\n' ? "" : " ";
  std::string f = html ? HtmlEscape(file) : std::string(file);
  if (html) {
    std::string head = Format("\n    <font color=\"%s\"><b>Notice</b></font> #%d:",
                              g.cfg.color_notice.c_str(), number);
    switch (m.head) {
      case kFileLevel:
        return head + " " + m.body;
      case kFileLine:
        return head + Format(" <b>File</b> %s: <b>Line %d</b>", f.c_str(),
                             line_number) + m.body;
      default:
        return head + Format(" <b>Line %d</b>:", line_number) + gap + m.body;
    }
  }
  if (form == kNoticeReordered) {
    switch (m.head) {
      case kFileLevel:
        break;
      case kFileLine:
        return Format("\n    File %s: Line %d: Notice #%d", f.c_str(),
                      line_number, number) + m.body;
      default:
        return Format("\n    Line %d: Notice #%d:", line_number, number) + gap +
               m.body;
    }
  }
  switch (m.head) {
    case kLine:
      return Format("\n    Notice #%d: Line %d%s", number, line_number, m.sep) +
             m.body;
    case kFileLine:
      return Format("\n    Notice #%d: File %s: Line %d", number, f.c_str(),
                    line_number) + m.body;
    default:
      return Format("\n    Notice #%d: ", number) + m.body;
  }
}

}  // namespace vek
