// Conversion of development-environment workspaces (.dsw), projects (.dsp)
// and solutions (.sln with their XML project files) into a plain list file
// of source paths, which the -F input mode then reads like any list file.
#ifndef VEK_DRIVER_PROJECT_CONVERT_H_
#define VEK_DRIVER_PROJECT_CONVERT_H_

#include <string>
#include <string_view>

namespace vek {

struct G;

// The list file a conversion writes, in the current directory.
constexpr const char* kConvertedListFile = "veklist.lst";

enum class ProjectKind { kNone, kWorkspace, kProject, kSolution };

// The kind of a -F file by its extension (dsw, dsp, sln, any case).
ProjectKind project_kind(std::string_view list_file, G& g);

// Converts `input` of the given kind into `output`: one absolute path per
// line ('/' separators), only files whose extension is in the allowed
// extension list.  Paths in a project are taken relative to the project
// file's directory.  Returns false, after its message, when the input or
// the output cannot be opened.
bool convert_project_file(ProjectKind kind, const std::string& input,
                          const std::string& output, G& g);

// `path` with '\' turned into '/', made absolute against `base_dir` when it
// is relative, and with "." and ".." components folded away.
std::string ResolvePath(std::string_view base_dir, std::string_view path);

}  // namespace vek

#endif  // VEK_DRIVER_PROJECT_CONVERT_H_
