// The help displays of the -h switch: the syntax summary (-hs), the short
// syntax with its pause (-hp, and a run without arguments), the full manual
// (-hf) and the quality notice types (-hn).  Each writes to the report
// stream and closes the HTML page in HTML mode; ending the run is left to
// the caller.
#ifndef VEK_DRIVER_HELP_H_
#define VEK_DRIVER_HELP_H_

#include <string>

namespace vek {

struct G;

// -hs: head, mode legend, the title and the summary of every switch.
void help_syntax(G& g);

// The short syntax.  With `pause` (-hp) it is framed by the head and the
// mode legend and followed by the pause: on the console a prompt and one
// line read from standard input, otherwise half a second's wait.  Without
// it (a run with no arguments) only the syntax lines are written.
void help_pause(G& g, bool pause);

// -hf: head, mode legend, the manual and the configuration parameters.
void help_full(G& g);

// -hn: head, mode legend, the 58 built-in notices with their On/Off state
// and description, and the user defined notice file with the regular
// expression library it is matched with.
void help_notices(G& g);

// The path of the user defined quality notice file: the configured name
// ("vek_udqn.cfg" when none), taken as it is when it names a directory,
// otherwise placed in the configuration home (VEKCFGHOME, else VEKHOME,
// else the current directory).
std::string udqn_file_path(const G& g);

}  // namespace vek

#endif  // VEK_DRIVER_HELP_H_
