// The configuration file vek.cfg: reading it into g.cfg at start-up (and
// for -u), and writing the whole commented configuration for a new file,
// for the rewrite of a file from another version, and for -hc and -y.
#ifndef VEK_CONFIG_CONFIG_FILE_H_
#define VEK_CONFIG_CONFIG_FILE_H_

#include <cstdio>
#include <string>
#include <string_view>

namespace vek {

struct G;

// Reads g.paths.cfg_file into g.cfg.  A missing file is created with the
// current values and read back; a file of another version (or none) is
// rewritten in the current layout with the values just read.  Returns 1
// after reading, 0 when the file can neither be opened nor created (the
// values stay as they were, no message).
int read_config(G& g);

// Reads the user configuration file `path` (-u "File CFG") over the values
// in force; its extension lists join the allowed extensions.  The file is
// never created or rewritten.  Returns 0 when it cannot be opened.
int read_user_config(const std::string& path, G& g);

// Writes the whole commented configuration with the current values of g.cfg
// onto `stream`; wrapped in an HTML page when HTML output is on.
void write_config(FILE* stream, G& g);

// Applies one line of a configuration file.  Returns true when the line
// named a known key (even when its value was not taken), false for comment
// lines, lines without ':' and unknown keys.
bool apply_config_line(std::string_view line, G& g);

}  // namespace vek

#endif  // VEK_CONFIG_CONFIG_FILE_H_
