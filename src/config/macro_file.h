// The predefined macro file vek_macro.cfg: names of macros (such as
// __declspec) that the analyser skips like keywords.
#ifndef VEK_CONFIG_MACRO_FILE_H_
#define VEK_CONFIG_MACRO_FILE_H_

namespace vek {

struct G;

// Adds every macro name of g.paths.macro_file to g.macros and returns how
// many were added.  A missing file is created with the default names and 0
// is returned: those names take effect from the next run.  A file that can
// be neither read nor created gives 0, without a message.
int load_macros(G& g);

}  // namespace vek

#endif  // VEK_CONFIG_MACRO_FILE_H_
