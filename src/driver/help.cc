#include "driver/help.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/notice_catalogue.h"
#include "config/config.h"
#include "config/config_file.h"
#include "driver/state.h"
#include "reports/output.h"
#include "udqn/udqn.h"

namespace vek {

namespace {

// The switch summary and the switch chapter of the manual come from one
// table, so that both list the same switches in the same order.  -hs
// prints the switch lines and their sub-entries; -hf adds the prose.
enum class Row { kSwitch, kSub, kText };

struct SwitchRow {
  Row kind;
  const char* text;
};

constexpr SwitchRow kSwitchRows[] = {
    {Row::kSwitch, "-A Automated CSV output mode"},
    {Row::kSub, "Moved to -C switch"},
    {Row::kText, "The same as -C: CSV output with complexity metrics on."},

    {Row::kSwitch, "-a Allocation/de-allocation memory function counts"},
    {Row::kText, "Counts alloc, malloc and calloc calls, free calls and the"},
    {Row::kText, "new and delete operators of every file and of the project,"},
    {Row::kText, "and prints the memory allocation summary of each file and of"},
    {Row::kText, "the project where any of the four counts is positive."},
    {Row::kText, "realloc is not counted; it raises quality notice #8."},

    {Row::kSwitch, "-b Benchmark processing performance"},
    {Row::kText, "Measures the processor time of the run and prints the"},
    {Row::kText, "process timer with the physical lines and characters"},
    {Row::kText, "processed per second at the end of the reports."},

    {Row::kSwitch, "-C CSV output mode"},
    {Row::kSub, "-C -fa  Functions and Files"},
    {Row::kSub, "-C -fp  Function Points derived from LOC"},
    {Row::kSub, "-C -i   Inheritance Tree"},
    {Row::kSub, "-C -s   File Summary"},
    {Row::kSub, "-C -T*  All T report Switches"},
    {Row::kSub, "-C -w   Work file differential extraction"},
    {Row::kText, "Writes every report as comma separated values for a"},
    {Row::kText, "spreadsheet and turns complexity metrics on. With -s or"},
    {Row::kText, "-fa after -C, one row per file is written as well."},

    {Row::kSwitch, "-c Complexity metrics, Cyclomatic and Interface"},
    {Row::kText, "Measures the cyclomatic, interface and total complexity of"},
    {Row::kText, "every function; turns function analysis on."},

    {Row::kSwitch, "-D De-character source, Warning: Modifies Source Code"},
    {Row::kSub, "-Dd  Add carriage returns, CR LF line ends for DOS files"},
    {Row::kSub, "-Dt  Replace tabs by blanks"},
    {Row::kSub, "-Du  Remove carriage returns, LF line ends for UNIX files"},
    {Row::kText, "Rewrites every input file in place instead of measuring it."},
    {Row::kText, "-Dt puts \"A TAB is equivalent to n space\" blanks in place of"},
    {Row::kText, "each tab outside a string literal. The converted text goes"},
    {Row::kText, "to a new file beside the source, which then takes its place"},
    {Row::kText, "with the same permission bits. -Dd and -Du cannot be"},
    {Row::kText, "combined. Keep a copy of the sources before using -D."},

    {Row::kSwitch, "-d Determine source code against LOC analysis algorithm"},
    {Row::kText, "Shows how each line is classified (blank, comment, LOC,"},
    {Row::kText, "lone bracket, logical), to check a count line by line."},

    {Row::kSwitch, "-E Extract literal strings or comments from source code"},
    {Row::kSub, "-Ec  Extract comments"},
    {Row::kSub, "-EC  Extract comment documentation relative to function or class"},
    {Row::kSub, "-Es  Extract literal strings"},
    {Row::kText, "Writes the comments or the literal strings of each file"},
    {Row::kText, "instead of its metrics reports; -EC relates the comments to"},
    {Row::kText, "the functions and classes they document."},

    {Row::kSwitch, "-e Estimate labor rate analysis based on LOC and complexity"},
    {Row::kText, "Prints the estimation factors of the project: LOC, eLOC"},
    {Row::kText, "and lLOC per function, per parameter, per return point and"},
    {Row::kText, "per unit of complexity. Turns function analysis on."},

    {Row::kSwitch, "-F\"FileList.txt\"  Input mode from a file list"},
    {Row::kText, "Reads the input files and directories from a list file; see"},
    {Row::kText, "Source Code File Input Modes. A .dsw, .dsp or .sln file is"},
    {Row::kText, "converted into veklist.lst first. Recursive mode is off."},

    {Row::kSwitch, "-f Function Identification and LOC metrics"},
    {Row::kSub, "-fa  Function analysis: functions with their metrics"},
    {Row::kSub, "-fd  Function cyclomatic complexity details"},
    {Row::kSub, "-fp  Function points derived from LOC metrics"},
    {Row::kSub, "-fm  Function methods and attributes annotated from a class"},
    {Row::kText, "-fa reports every function with its size, complexity and"},
    {Row::kText, "notices; -fd adds the decisions that make up its cyclomatic"},
    {Row::kText, "complexity; -fm also turns object metrics on. -f needs one"},
    {Row::kText, "of the four letters."},

    {Row::kSwitch, "-H HTML output mode for use with a WWW browser"},
    {Row::kText, "Writes the reports as one HTML page, coloured by the HTML"},
    {Row::kText, "colour keys of vek.cfg, with links to the source files."},

    {Row::kSwitch, "-h Help"},
    {Row::kSub, "-hc  Configuration Settings"},
    {Row::kSub, "-hf  Full Help Text Document"},
    {Row::kSub, "-hn  Quality Notice Types"},
    {Row::kSub, "-hp  Abbreviated Syntax with Pause Prompt"},
    {Row::kSub, "-hs  Syntax only"},
    {Row::kText, "Any other letter shows this document. Help ends the run"},
    {Row::kText, "with exit status 0."},

    {Row::kSwitch, "-i Inheritance tree generation"},
    {Row::kText, "Prints the inheritance tree of the classes, structs and"},
    {Row::kText, "interfaces of the project; turns object metrics on."},

    {Row::kSwitch, "-k Key for sorting reports"},
    {Row::kSub, "-kd  Sort in descending order (ascending by default)"},
    {Row::kSub, "-k0  No sort (default)"},
    {Row::kSub, "-k1  Entity name"},
    {Row::kSub, "-k2  LOC"},
    {Row::kSub, "-k3  eLOC"},
    {Row::kSub, "-k4  lLOC"},
    {Row::kSub, "-k5  Cyclomatic complexity"},
    {Row::kSub, "-k6  Work file difference state"},
    {Row::kSub, "-k7  -Td report by function count"},
    {Row::kSub, "-k8  -Td report by quality notice count"},
    {Row::kSub, "-k9  -Td report by file date"},
    {Row::kSub, "-k10 -Td report by file size"},
    {Row::kText, "Sorts the function, class and file lists of the project"},
    {Row::kText, "reports. A key outside 0 to 10 is reported and no sort is"},
    {Row::kText, "made."},

    {Row::kSwitch, "-l List function names declared in each file"},
    {Row::kText, "Lists the functions of each file instead of their full"},
    {Row::kText, "metrics; turns function analysis on."},

    {Row::kSwitch, "-m Macro identification"},
    {Row::kText, "Lists every macro defined with parameters, #define NAME(,"},
    {Row::kText, "where it is met; with -n the quality notices raised inside"},
    {Row::kText, "the macro are framed by its name."},

    {Row::kSwitch, "-n Notices for code quality analysis & common errors"},
    {Row::kText, "Reports the quality notices switched on in vek.cfg (-hn"},
    {Row::kText, "lists them) and the user defined quality notices, and prints"},
    {Row::kText, "the quality profile. The exit status is then the number of"},
    {Row::kText, "notices found, at most 254 (255 is a failed run)."},

    {Row::kSwitch, "-N Notice output format"},
    {Row::kSub, "-Ns  Single line summary format"},
    {Row::kSub, "-Nv  Visual Studio interactive format"},
    {Row::kSub, "-Ng  Compiler style format, file:line: warning: text [VEKn]"},
    {Row::kText, "Writes each notice on one line instead of its long message;"},
    {Row::kText, "-Nv as file(line) : Notice #n - text, which editors that read"},
    {Row::kText, "compiler messages can follow to the line; -Ng as"},
    {Row::kText, "file:line: warning: text [VEK030], the form of compiler"},
    {Row::kText, "warnings that CI problem matchers read. Turns -n on."},

    {Row::kSwitch, "-o Object metrics classes and structs"},
    {Row::kText, "Measures classes, structs, interfaces, namespaces and"},
    {Row::kText, "packages: size, methods and data by access level; turns"},
    {Row::kText, "function analysis on."},

    {Row::kSwitch, "-O\"filename\"  Output mode to a file instead of screen"},
    {Row::kText, "Writes the reports into the file, which is replaced when it"},
    {Row::kText, "exists; progress messages then go to the standard error"},
    {Row::kText, "stream. A file that cannot be created ends the run with 1."},

    {Row::kSwitch, "-p Printable format for source code"},
    {Row::kSub, "-B1  Begin Top Margin (defaults shown)"},
    {Row::kSub, "-M5  Left Margin"},
    {Row::kSub, "-P55 Page Length"},
    {Row::kSub, "-L80 Line Length"},
    {Row::kText, "Prints each input file as a numbered listing in pages with"},
    {Row::kText, "a title (-S, else \"Printed Page Header\"), the file name,"},
    {Row::kText, "page number and date, instead of measuring it. Line lengths"},
    {Row::kText, "below 20 become 20; a negative page length switches page"},
    {Row::kText, "breaks off. The defaults come from vek.cfg."},

    {Row::kSwitch, "-r\"ext,ext,... directory\"  Recurse directory input mode"},
    {Row::kText, "Processes every file under the directory and its"},
    {Row::kText, "subdirectories whose extension is in the list, for example"},
    {Row::kText, "-r\"h,cpp,java,cs /home/me/project\". Quote the option."},

    {Row::kSwitch, "-R Read File Input Processing Options"},
    {Row::kSub, "-Rd  Process the named directory without recursion"},
    {Row::kSub, "-Rl  List the files to be processed and exit"},
    {Row::kSub, "-Rn  Sort input files by name, headers first"},

    {Row::kSwitch, "-s Summary LOC metrics per file"},
    {Row::kText, "The LOC summary of each file and of the project; always on."},

    {Row::kSwitch, "-S\"string\"  Title string for a report"},
    {Row::kText, "Prints the title under the report head and at the top of"},
    {Row::kText, "every page of a code listing."},

    {Row::kSwitch, "-T Totals only mode, Sorted"},
    {Row::kSub, "-Ta  All total reports"},
    {Row::kSub, "-Td  All files listed in detail"},
    {Row::kSub, "-Tf  Functions, classes, namespaces and notices"},
    {Row::kSub, "-Ti  Inheritance tree only"},
    {Row::kSub, "-Tl  Summaries only, no listing of functions, classes etc."},
    {Row::kSub, "-TL  Language metric summary"},
    {Row::kSub, "-TN  No file names displayed"},
    {Row::kSub, "-Tn  Quality notices by file and line number"},
    {Row::kSub, "-To  Objects: structs, classes, interfaces, namespaces"},
    {Row::kSub, "-Tp  Quality profile by notice type"},
    {Row::kSub, "-Tq  Quality notice summary list by file"},
    {Row::kSub, "-Ts  Total summary LOC metrics"},
    {Row::kSub, "-Tv  Total verbose metrics (also -v)"},
    {Row::kSub, "-Tw  Work file metrics differentials only"},
    {Row::kText, "Prints only the project reports named by the letters, not"},
    {Row::kText, "the reports of each file. Turns function analysis, object"},
    {Row::kText, "metrics, complexity and quality notices on."},

    {Row::kSwitch, "-v Verbose metrics for files, LOC, keywords and constructs"},
    {Row::kText, "Counts keywords, preprocessor directives, brackets and other"},
    {Row::kText, "constructs of each file and of the project."},

    {Row::kSwitch, "-u"},
    {Row::kSub, "-u\"File CFG vek_user.cfg\" User defined VEK configuration"},
    {Row::kSub, "-u\"File XSL vek_td.xsl\"   User specified XSL for -X output mode"},
    {Row::kText, "File CFG reads a second configuration file over vek.cfg when"},
    {Row::kText, "\"Enable user defined configuration files\" is Yes, and is"},
    {Row::kText, "ignored otherwise. File XSL names the stylesheet of the XML"},
    {Row::kText, "output. The path may contain blanks."},

    {Row::kSwitch, "-w Work files for metrics differentials between baselines"},
    {Row::kSub, "-w\"Create dir\"          Create a work file of the baseline below dir"},
    {Row::kSub, "-w\"File dat name\"       Name of the work file to create"},
    {Row::kSub, "-w\"File cfg name\"       Differential configuration file"},
    {Row::kSub, "-w\"x old.dat, new.dat\"  Extract the metrics differential"},
    {Row::kSub, "-wD  Deterministic mode for work file creation"},
    {Row::kSub, "-wd  Code line differentials"},
    {Row::kSub, "-we  Do not process equal files"},
    {Row::kSub, "-wm  Do not process modified files"},
    {Row::kSub, "-wn  Do not process new files"},
    {Row::kSub, "-wr  Do not process removed files"},
    {Row::kSub, "-wb  Show the basis of the productivity calculation"},
    {Row::kSub, "-wg  Show the glossary"},
    {Row::kSub, "-wp  Show the productivity estimates"},
    {Row::kSub, "-ws  Code differential details per file, line and type"},
    {Row::kSub, "-wv  Verbose mode for metrics differential files"},
    {Row::kSub, "-wW  Deprecated as of version 6.52, use -wx"},
    {Row::kText, "-w\"Create /home/me/project\" analyses the files and saves"},
    {Row::kText, "their metrics as a baseline in a work file, by default"},
    {Row::kText, "WorkFile_MMDDCCYY.dat, and copies it to workfile.dat. Later,"},
    {Row::kText, "-w\"x old.dat, new.dat\" compares two work files and reports"},
    {Row::kText, "new, removed, modified and equal files with their changes;"},
    {Row::kText, "with -wd the lines themselves are compared. Every -w form"},
    {Row::kText, "turns totals-only mode on and file names off."},

    {Row::kSwitch, "-X XML Output Mode"},
    {Row::kSub, "-X -T*  All T report switches, reference -T"},
    {Row::kSub, "-X -wx  Work file differentials extraction"},
    {Row::kText, "Writes the reports as one XML document with the root element"},
    {Row::kText, "bwvek; turns totals-only mode on."},

    {Row::kSwitch, "-x Extended options"},
    {Row::kSub, "-xNOCONFIG  No configuration file reporting in output"},
    {Row::kSub, "-xNOCOMMAND No command line reporting in output"},
    {Row::kSub, "-xUDQNSHOW  Show the User Defined Quality Notices"},
    {Row::kSub, "-xNOWRAP    Do not wrap long names in reports"},
    {Row::kText, "Also -xNOHEADER (no report head), -xDEBUG (debug traces) and"},
    {Row::kText, "-xDIFFDEBUG (traces of the differentials). Keywords may be"},
    {Row::kText, "written in any case. -xUDQNSHOW lists the user defined"},
    {Row::kText, "notices as read and ends the run with 1."},

    {Row::kSwitch, "-y Display configuration parameters, export vek.cfg"},
    {Row::kText, "Writes the whole commented configuration with the values in"},
    {Row::kText, "force, the same as -hc, and ends the run with 0."},

    {Row::kSwitch, "--sarif=FILE  Quality notices as a SARIF 2.1.0 log"},
    {Row::kSub, "--sarif-root=DIR  Base folder of the file URIs (default .)"},
    {Row::kText, "Writes every notice of the run (with -n, -N or -T) into FILE"},
    {Row::kText, "as well as the report, one result per notice with its rule"},
    {Row::kText, "VEKnnn, file and line, for code-scanning services. A file"},
    {Row::kText, "that cannot be written is reported on the error stream and"},
    {Row::kText, "ends the run with 255."},

    {Row::kSwitch, "--help  The syntax summary, the same as -hs"},
    {Row::kSwitch, "--version  The program name and version on one line"},
};

// The manual in front of the switch chapter.  A line beginning with '~' is
// a section title.
constexpr const char* kManual[] = {
    "~ VEK Help Documentation~",
    "VEK measures the source code of C, C++, Java and C# programs. It",
    "classifies every line of each source file, finds the functions,",
    "classes, structs, interfaces, namespaces and packages in it, measures",
    "their size and complexity, and reports quality notices where the code",
    "breaks a rule of the configuration. It can also save the metrics of a",
    "source tree as a work file (a baseline) and compare two baselines,",
    "print numbered code listings, extract comments or literal strings,",
    "and convert the tabs and line ends of source files.",
    "",
    "VEK is a command line program. It writes its reports while it works,",
    "to the screen or into a file, as plain text, HTML, CSV or XML, and",
    "reads nothing from the keyboard except the Enter key of a pause.",
    "",
    "  vek -hs   the syntax summary of every switch",
    "  vek -hp   the abbreviated syntax with a pause prompt",
    "  vek -hf   this document",
    "  vek -hn   the quality notice types, each On or Off",
    "  vek -hc   the configuration settings (the same as -y)",
    "  vek       without arguments: the abbreviated syntax",

    "~ Source Code Metrics and Analysis ~",
    "Every physical line of a source file is classified once:",
    "  Blank    a line of blanks and tabs only",
    "  Comment  a line holding a comment, alone or beside code",
    "  LOC      Lines Of Code: a line holding any code",
    "  eLOC     effective LOC: LOC less the lines holding only a brace",
    "           { or } or only a parenthesis ( or )",
    "  lLOC     logical LOC: the semicolons of the code, less one for",
    "           each for header that holds them",
    "A line with code and a comment counts both as LOC and as a comment",
    "line. Physical lines, characters and white space are counted too; a",
    "tab counts as \"A TAB is equivalent to n space\" blanks.",
    "",
    "Functions are found by their name, parameter list and body. Each is",
    "measured by LOC, eLOC, lLOC, comment and blank lines and by:",
    "  Cyclomatic complexity  1 for the function and 1 for each decision:",
    "           while, for, case, if, the ? operator, goto, || (or) and",
    "           && (and) by default; switch and else may be added and each",
    "           component removed in vek.cfg",
    "  Interface complexity   the parameters plus the return points; a",
    "           function without a return statement has one return point,",
    "           and goto counts as one when so configured",
    "  Total complexity       cyclomatic plus interface complexity",
    "  Depth of scope         the nesting of braces inside the body",
    "Files and functions are summed into project totals, with averages and",
    "maxima. Function points are LOC, eLOC and lLOC divided by the lines",
    "per function point of the file's language (vek.cfg; by default 128",
    "for C and 53 for C++, Java and C#; none for headers and other files).",
    "",
    "Classes, structs and interfaces (-o) are measured with their methods",
    "and data by access level; the inheritance tree (-i) shows how they",
    "derive from one another. Keyword and construct counts (-v) and",
    "memory allocation counts (-a) are reported per file and for the",
    "project; macros with parameters are listed with -m.",
    "",
    "Quality notices (-n) point to code that breaks one of 58 numbered",
    "rules (-hn lists them). Each rule is switched on or off in vek.cfg",
    "and most have a limit there. User defined quality notices add rules",
    "written as regular expressions in the file vek_udqn.cfg.",

    "~ Program Operation ~",
    "VEK runs as one batch: it reads its configuration and switches,",
    "gathers the input files, analyses every line of every file in turn,",
    "writes the reports of each file when the file ends and the project",
    "reports at the end, and exits with one of these statuses:",
    "  n    the number of quality notices found, when notices are",
    "       reported (-n, -N, -T, -xUDQNSHOW)",
    "  0    a complete run otherwise; help (-h), -y, -wx, and the -w and",
    "       -u file syntax errors",
    "  1    a switch error, -q, -W, -xc, and the fatal errors of the",
    "       differential, the code listing and the user defined notices",
    "  255  the run could not do all it was asked: a file or folder",
    "       named as an input (on the command line or in a list file)",
    "       cannot be read, the -F list file cannot be opened, the -O",
    "       file is also an input, or the --sarif log cannot be written;",
    "       each also says so in one line on the standard error stream",
    "A POSIX shell sees exit statuses from 0 to 255 only. A notice count",
    "above 254 is reported as 254, so that it is never taken for success",
    "nor for a failed run.",
    "",
    "Environment variables:",
    "  VEKHOME     directory of vek.cfg and the other side files; when it",
    "              is not set, the directory the program file is in",
    "  VEKCFGHOME  directory that takes the place of VEKHOME for the side",
    "              files",
    "  VEKDEBUG    when set, to any value, debug traces beginning with",
    "              \"*** Debug: \" are written and the run pauses once after",
    "              its start-up parameters",
    "  VEKCLASSMF  when set, class methods and functions are shown, as -fm",

    "~ Operation Step by Step ~",
    " 1. Read the environment variables and locate the side files.",
    " 2. Read vek.cfg. A missing file is created with the defaults; a file",
    "    of another version is rewritten in the current layout.",
    " 3. Register the languages with their file extensions and load the",
    "    macro names of vek_macro.cfg (created when missing).",
    " 4. Read the switches in the order given. Help, -y, -wx and every",
    "    switch error end the run here.",
    " 5. Write the report head (program, version, dates, configuration",
    "    file and command line) and a banner for each analysis mode; in",
    "    CSV and XML a banner of that format instead.",
    " 6. Create the work file when -w\"Create dir\" asks for one.",
    " 7. Gather the input files from the command line, -r or -F, header",
    "    files before source files.",
    " 8. For each file: write its header, type it by its extension, read",
    "    and analyse it line by line, report its file level notices and",
    "    its summaries, and add its counts to the project totals.",
    " 9. Build the inheritance tree when -i or -Ta asks for it.",
    "10. Write the project reports chosen by the switches.",
    "11. Complete the work file and copy it to workfile.dat.",
    "12. Write the benchmark (-b) and the trailer, and exit.",

    "~ Program Configuration ~",
    "vek.cfg is a commented text file of \"key: value\" lines. Lines",
    "without a colon, among them the comment lines beginning with #, are",
    "ignored, and so are unknown keys. Keys are matched without regard to",
    "case. A Yes/No value is No when it begins with n or N and Yes",
    "otherwise; a number is only taken when the value begins with a digit.",
    "",
    "VEK looks for vek.cfg in VEKCFGHOME when it is set, else in VEKHOME,",
    "else in the directory of the program. When the file is missing it is",
    "created there with the defaults. -y and -hc show the configuration in",
    "force, the values of vek.cfg and of -u\"File CFG path\" included. The",
    "switches override the configuration.",
    "",
    "Side files in the same directory:",
    "  vek_macro.cfg     macro names, one a line, that VEK recognises in",
    "                    code (__declspec, __attribute__ ...); created",
    "                    when missing, used from the next run",
    "  vek_udqn.cfg      user defined quality notices; another file is",
    "                    named by \"VEK user defined quality notice file\"",
    "  vek_workdiff.cfg  the columns of the metrics differential report;",
    "                    -w\"File cfg name\" names another file",
    "The configuration parameters and their values are listed at the end",
    "of this document.",

    "~ Source File Requirements ~",
    "Source files are text files with lines of at most 2047 characters; a",
    "longer line is reported and read on in pieces. Lines may end in LF or",
    "CR LF. A byte order mark at the start of a line is ignored.",
    "",
    "A file is analysed when its extension is in one of the language lists",
    "of vek.cfg (C, C Header, C++, C++ Header, C#, Java, Other), or in any",
    "case when \"Validate file extensions for processing\" is No. With",
    "\"Treat C headers as C++\" Yes, the default, .h files are analysed as",
    "C++. The lines of files of the Other list are counted as LOC.",
    "",
    "VEK analyses all the code of a file, the code of every #if, #ifdef",
    "and #else branch included. Each branch should be well formed, so that",
    "the braces and parentheses of the file balance; where they do not,",
    "notice #12 is reported, the counts are forced equal and the metrics",
    "of the function around them may be wrong. A brace count that does",
    "not balance at the end of a file is reported there.",
    "",
    "When \"Activate VEK code skip tokens\" is Yes, the lines between the",
    "tokens VEK_IGNORE_BEGIN and VEK_IGNORE_END are not analysed, and no",
    "quality notice is reported between VEK_IGNORE_QUALITY_BEGIN and",
    "VEK_IGNORE_QUALITY_END. The tokens are set in vek.cfg; they are",
    "usually written in comments.",

    "~ Switches and Options ~",
    "Switches begin with a hyphen and come before the file names:",
    "  vek -switch -switch[option] -switch[\"compound option\"] files",
    "The [ ] are not typed. Letters may be combined: -cn is -c and -n. A",
    "switch that takes an option takes the rest of its word, or the next",
    "word when nothing follows the letter, so -O report.txt is the same as",
    "-Oreport.txt. An option holding blanks is quoted for the shell, as in",
    "-r\"c,h /home/me/project\".",
    "",
    "Switches act in the order given: a later switch overrides an earlier",
    "one, and every switch overrides vek.cfg. \"--\" or a lone \"-\" ends",
    "the switches. A word such as /c that begins with / and names no",
    "existing file is read as switches too; an absolute path such as",
    "/home/me/a.c is always a file name.",
    "Numbers are decimal; text that is not a number reads as 0.",

    "~ Files/Directories Names and Wild Cards ~",
    "Names use / as the directory separator and are absolute or relative",
    "to the current directory. Quote names that contain blanks.",
    "",
    "Wild cards such as *.c or src/*.cpp are expanded by the shell before",
    "VEK starts; a quoted wild card that reaches VEK is expanded by VEK",
    "itself, in sorted order. Use -r to take the files of a whole",
    "directory tree.",
    "",
    "A name without an extension is skipped; a name whose extension is",
    "not allowed is reported as not a valid file type and skipped. A name",
    "followed by two at signs and a version path (file.c@@/main/3) is",
    "typed by the extension before the at signs.",
    "",
    "For -r and the directory lines of a -F list, a directory given as",
    "\".\", \"./\", \"*\" or \"*.*\" is the current directory. When \"Do not",
    "process these local directories\" is Yes, the directories named in",
    "\"Local directory names not processed\" (sccs, cvs, rcs and svn by",
    "default) are not entered. When \"Pattern Filter Active\" is Yes, files",
    "whose path contains one of the patterns of \"Pattern Filter\" are",
    "skipped.",

    "~ Source Code File Input Modes ~",
    "1. Command line: the file names after the switches.",
    "     vek -c -fa src/*.c src/*.h",
    "2. Recursive descent, -r\"ext,ext,... directory\": every file below",
    "   the directory whose extension is in the list; -Rd leaves out the",
    "   subdirectories.",
    "     vek -n -r\"h,cpp,java,cs /home/me/project\"",
    "3. List file, -F\"file\": one entry a line. Lines beginning with # are",
    "   comments; %NAME% is replaced by the environment variable NAME. A",
    "   line beginning with a switch word is a directory line: the word,",
    "   the extensions and the directory, as in",
    "     -r c,h,cpp /home/me/project/src",
    "   -r or -R walks the directory with its subdirectories, any other",
    "   word without them. Every other line names one file. Without any",
    "   report switch, -F turns the file summary on; the project directory",
    "   summary totals the files of each directory line.",
    "4. Development environment files: a workspace (.dsw), project (.dsp)",
    "   or solution (.sln) file given to -F is converted into the list",
    "   file veklist.lst in the current directory, which is then read.",
    "",
    "In every mode the header files are processed before the source files,",
    "each group in the order found; -Rn sorts both groups by name (-kd in",
    "descending order). -Rl lists the files that would be processed and",
    "ends the run.",

    "~ Program Output Modes ~",
    "The reports go to the standard output, or with -O\"file\" into that",
    "file; progress messages are then written to the standard error",
    "stream. Error messages go where the reports go.",
    "",
    "  always      the report head and the LOC summary of each file and",
    "              of the project, and the file summary",
    "  -fa -l      function metrics, function name lists",
    "  -c -fd      complexity metrics and their detail",
    "  -o -i       classes, structs, interfaces, namespaces; inheritance",
    "  -n -N       quality notices and the quality profile",
    "  -v -a -m    keywords and constructs, memory allocation, macros",
    "  -e -fp      estimation factors, function points",
    "  -T          project totals only, chosen by letter",
    "  -b          process timer and benchmark",
    "  -w          work files; with -w\"x old, new\" the differential",
    "              report instead of an analysis",
    "Modes that replace the analysis:",
    "  -p          numbered code listings",
    "  -E          extraction of literal strings or comments",
    "  -D          conversion of tabs and line ends, in place",
    "  -h -y       help and the configuration",

    "~ Program Output File Formats ~",
    "  Text  the default: plain text lines of about 80 columns.",
    "  HTML  -H: one page for a web browser, the reports as preformatted",
    "        text coloured by the HTML colour keys of vek.cfg, with links",
    "        to the source files, relative when \"Relative HTML Links\" is",
    "        Yes.",
    "  CSV   -C or -A: comma separated values for a spreadsheet; commas",
    "        inside names are replaced by blanks.",
    "  XML   -X: one document, root element bwvek, an element per file and",
    "        per report; -u\"File XSL path\" adds a stylesheet reference.",
    "",
    "Files VEK writes besides the reports:",
    "  vek.cfg, vek_macro.cfg, vek_workdiff.cfg  defaults, when missing",
    "  WorkFile_MMDDCCYY.dat  the work file of -w\"Create dir\", named by",
    "              the date of the run, in \"Work file location path\" (the",
    "              current directory by default)",
    "  workfile.dat  a copy of the latest work file",
    "  *.dif       line data kept for the code differential (-wd)",
    "  veklist.lst the list converted from a .dsw, .dsp or .sln file",
    "A work file is a text file: a six line header, then one line per",
    "source file with its size, date and metrics. Do not edit it.",
};

constexpr const char* kConfigSectionTitle = "~ Configuration Parameters ~";
constexpr const char* kSwitchSectionTitle = "~ Run Time Switch Options ~";
constexpr const char* kPcreSource = "https://www.pcre.org/";
// Notice 25 has neither a check nor a configuration key.
constexpr int kRetiredNotice = 25;

// The program's file name as the user typed it, without its directory.
std::string ProgramName(const G& g) {
  const std::string& path = g.paths.prog_path;
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void Head(G& g) {
  write_head(g.report_stream, g, 0);
  write_mode_legend(g);
}

// One line of the help tables after its indent.  The texts hold quotes
// and an ampersand, which HTML wants escaped.
void TableLine(G& g, const char* indent, const char* text) {
  if (g.opt.html_flag) {
    Out(g, "%s%s\n", indent, HtmlEscape(text).c_str());
  } else {
    Out(g, "%s%s\n", indent, text);
  }
}

void SectionTitle(G& g, const char* title) {
  Out(g, "\n");
  center_line(g, title);
  Out(g, "\n");
}

// The pause after -hp: on the console wait for one line; when the reports
// go to a file nobody is there to answer, so wait half a second.
void Pause(G& g) {
  if (g.report_stream == stdout) {
    Out(g, "\n  Press Enter Key To Continue ...\n");
    fflush(stdout);
    int c;
    do {
      c = getchar();
    } while (c != '\n' && c != EOF);
    if (c == EOF) clearerr(stdin);
  } else {
    usleep(500000);
  }
}

}  // namespace

std::string udqn_file_path(const G& g) { return udqn_main_path(g); }

void help_syntax(G& g) {
  Head(g);
  center_line(g, "VEK Help Syntax");
  Out(g, "\n");
  Out(g,
      "  Syntax: %s -switch or -switch[option] or \n"
      "          -switch[\"compound option\"] filenames or wild cards\n"
      "          [ ] characters are not entered\n\n",
      ProgramName(g).c_str());
  for (const SwitchRow& row : kSwitchRows) {
    if (row.kind == Row::kSwitch) TableLine(g, "  ", row.text);
    if (row.kind == Row::kSub) TableLine(g, "     ", row.text);
  }
  Out(g, "\n");
  HtmlEnd(g);
}

void help_pause(G& g, bool pause) {
  if (pause) Head(g);
  Out(g,
      "  Syntax: %s -option or -switch[option]\n"
      "          or -switch[\"compound option\"] filenames or wild cards\n"
      "          VEK is a command line program, [ ] characters are not "
      "entered\n"
      "          Example: c:\\vek\\vek.exe -c -fa -r\"h,cpp,java,cs "
      "c:\\proj\"\n"
      "          -hs Help syntax for operation\n"
      "          -hf Help manual full text\n",
      ProgramName(g).c_str());
  if (pause) Pause(g);
  HtmlEnd(g);
}

void help_full(G& g) {
  Head(g);
  for (const char* line : kManual) {
    if (line[0] == '~') {
      SectionTitle(g, line);
    } else if (line[0] == '\0') {
      Out(g, "\n");
    } else {
      TableLine(g, "  ", line);
    }
  }
  SectionTitle(g, kSwitchSectionTitle);
  bool first = true;
  for (const SwitchRow& row : kSwitchRows) {
    if (row.kind == Row::kSwitch && !first) Out(g, "\n");
    first = false;
    TableLine(g, row.kind == Row::kSwitch ? "  " : "     ", row.text);
  }
  SectionTitle(g, kConfigSectionTitle);
  // The configuration is shown inside this page; its own HTML wrapping
  // would close the page early, and its text is escaped like the rest.
  int html = g.opt.html_flag;
  g.opt.html_flag = 0;
  if (html) {
    char* text = nullptr;
    size_t size = 0;
    FILE* mem = open_memstream(&text, &size);
    if (mem != nullptr) {
      write_config(mem, g);
      fclose(mem);
      std::string_view all(text, size);
      // HtmlEscape bounds what it returns; escape a line at a time.
      while (!all.empty()) {
        size_t end = all.find('\n');
        std::string_view line = all.substr(0, end);
        Out(g, "%s\n", HtmlEscape(line).c_str());
        if (end == std::string_view::npos) break;
        all.remove_prefix(end + 1);
      }
      free(text);
    }
  } else {
    write_config(g.report_stream, g);
  }
  g.opt.html_flag = html;
  HtmlEnd(g);
}

void help_notices(G& g) {
  Head(g);
  center_line(g, "VEK Quality Notice Types");
  Out(g, "\n");
  for (int n = 1; n <= kNoticeCount; ++n) {
    bool on = n != kRetiredNotice && notice_enabled(n, &g) > 0;
    Out(g, "  Notice %-4d: [%3s] %s\n", n, on ? "On" : "Off",
        EscapeFor(g, notice_description(n, g)).c_str());
  }
  Out(g, "\n");
  center_line(g, "User Defined Quality Notices");
  Out(g, "\n");
  Out(g, "  UDQN File   : %s\n", EscapeFor(g, udqn_file_path(g)).c_str());
  Out(g, "  PCRE Version: %s\n", udqn_library_version().c_str());
  Out(g, "  PCRE Source : %s\n\n", kPcreSource);
  load_udqn_file(nullptr, g);
  udqn_list_notice_types(g);
  HtmlEnd(g);
}

}  // namespace vek
