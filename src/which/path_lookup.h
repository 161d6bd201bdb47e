// The lookup behind `which`: the first file of a given name in the current
// directory or along the directories of PATH.
#ifndef WHICH_PATH_LOOKUP_H_
#define WHICH_PATH_LOOKUP_H_

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace which {

// The longest path the lookup builds; a longer candidate is passed over,
// never cut short (a shortened name could find some other file).
constexpr size_t kMaxPath = 4095;

// The full path of `name` when a file (not a directory) of that name is in
// `cwd`; else the first `dir/name` for the entries of `path_list` (split at
// ':', surrounding double quotes removed, no second '/' after an entry
// that ends in one) that is a file; else empty.  No extension is added.
std::string FindFile(std::string_view name, std::string_view path_list,
                     std::string_view cwd);

// `path` with "." and empty components dropped and ".." taken back, as far
// as the text itself says; symbolic links are left alone.
std::string NormalPath(std::string_view path);

// The whole program: the banner, the name from argv[1] or asked for on
// `in`, the answer, the explanation and, when the name was asked for, the
// wait for Enter.  Returns the exit status, always 0.
int RunWhich(int argc, char** argv, FILE* in, FILE* out);

}  // namespace which

#endif  // WHICH_PATH_LOOKUP_H_
