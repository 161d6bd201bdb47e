// Input file gathering: builds the input file list from the command line,
// a recursive directory walk (-r), or a list file (-F, which may also be a
// workspace, project or solution).  Every candidate passes the pattern
// filter, the extension rules and the excluded-directory rule; headers go
// ahead of sources.
#ifndef VEK_DRIVER_GATHER_H_
#define VEK_DRIVER_GATHER_H_

namespace vek {

struct G;

// Fills g.input_files (headers first, then sources; sorted by name with
// -Rn) with one record per file, holding its name, size and modification
// time, and returns the number of files.  Command-line names are taken from
// g.argv[first_arg] on.  With -Rl the names are printed, the report is
// closed and the run is ended through Stop(g, 0).
int gather_input_files(int first_arg, G& g);

}  // namespace vek

#endif  // VEK_DRIVER_GATHER_H_
