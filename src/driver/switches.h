// The command-line switches: sets the run options in G, runs the switches
// that act at once (help, configuration display) and ends the run on a bad
// switch (through Stop, with the status the caller returns).
#ifndef VEK_DRIVER_SWITCHES_H_
#define VEK_DRIVER_SWITCHES_H_

namespace vek {

struct G;

// Parses argv; returns the index of the first file argument.  When the run
// has to end (help, errors), g.stop_flag is set and g.stop_status holds the
// exit status.
int parse_switches(int argc, char** argv, G& g);

// The option scanner: letters, clusters and arguments of the switches.
class OptionScanner {
 public:
  OptionScanner(int argc, char** argv) : argc_(argc), argv_(argv) {}
  // The next option letter, '?' for an unknown one, or -1 when the options
  // have ended.  `arg()` is then the letter's argument, or nullptr.
  int Next();
  // Next() answers this for a "--name[=value]" word; arg() is then the
  // text after the two hyphens.
  static constexpr int kLongOption = 0x100;
  const char* arg() const { return arg_; }
  // Index of the first argument that is not an option.
  int index() const { return index_; }

 private:
  bool IsOptionWord(const char* word) const;

  int argc_;
  char** argv_;
  int index_ = 1;
  int pos_ = 0;  // position inside a cluster; 0 when between words
  const char* arg_ = nullptr;
};

}  // namespace vek

#endif  // VEK_DRIVER_SWITCHES_H_
