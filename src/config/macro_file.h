// The predefined macro file vek_macro.cfg: names of macros (such as
// __declspec) that the analyser skips like keywords.
#ifndef VEK_CONFIG_MACRO_FILE_H_
#define VEK_CONFIG_MACRO_FILE_H_

namespace vek {

struct G;

// Adds every macro name of g.paths.macro_file to g.macro_names and returns how
// many name lines it read.  A missing file is created with the default names
// and read back, so the run that creates it already knows them.  A file that
// can be neither read nor created gives 0, without a message.
int load_macros(G& g);

}  // namespace vek

#endif  // VEK_CONFIG_MACRO_FILE_H_
