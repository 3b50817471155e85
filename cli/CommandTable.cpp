#include "cli/Commands.h"

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"pp",
       "pp [--disposition N] [--source-encoding cp932|utf-8] [--deps FILE] [--encoding "
       "utf-8|cp932] SOURCE DEST",
       "Convert one source file into DEST and print the conversion log.",
       "options:\n"
       "  --disposition N   what becomes of directive lines and replaced names:\n"
       "                    0 directive lines removed, names replaced by their text;\n"
       "                    1 (default) directive lines kept behind //, each replaced\n"
       "                    name written as /*name*/ before its text; 2 the same with\n"
       "                    the comment after the text\n"
       "  --source-encoding E\n"
       "                    how SOURCE and its includes are read when they do not\n"
       "                    begin with the UTF-8 byte order mark: cp932 (default,\n"
       "                    Shift-JIS) or utf-8; a file with the mark is read as UTF-8\n"
       "  --deps FILE       also write FILE, a make rule 'DEST: SOURCE INCLUDED...' for\n"
       "                    a converted DEST naming every file it read (absolute paths,\n"
       "                    escaped as cpp -MD does; UTF-8 on Linux), for make, ninja\n"
       "                    and CMake's DEPFILE; a FILE that cannot be written is\n"
       "                    reported on standard error and makes the exit status 1\n"
       "  --encoding E      log output as utf-8 (default on Linux) or cp932 (default on\n"
       "                    Windows: the bytes the window's log pane shows)\n"
       "\n"
       "SOURCE and DEST are taken relative to the current directory, and the log\n"
       "names them in full. An existing DEST is kept as DEST.bak.\n"
       "Exit status: 0 converted, 1 abandoned (see the log), 2 bad arguments.\n",
       {{"disposition", true}, {"source-encoding", true}, {"deps", true}},
       {"SOURCE", "DEST"},
       RunPp},
      {"convert",
       "convert [--check|--changed] [--deps FILE] [--items I,J,...] [--encoding utf-8|cp932] "
       "PROJECT",
       "Convert a project's items and print the conversion log.",
       "options:\n"
       "  --check           write nothing: convert in memory and compare with each\n"
       "                    destination; print 'stale: DEST' or 'missing: DEST' for\n"
       "                    each one that is out of date, 'not a file: DEST' or\n"
       "                    'unreadable: DEST' for one that cannot be compared, and\n"
       "                    'failed: DEST' with the item's messages for one that\n"
       "                    cannot be converted (DEST as 'list' prints it)\n"
       "  --changed         write only the destinations whose bytes change: one that\n"
       "                    already holds the result is left as it is (no .bak, its\n"
       "                    time unchanged) and its log says so where a written one\n"
       "                    says it completed\n"
       "  --deps FILE       also write FILE with one make rule per completed item\n"
       "                    (see 'pp'); not with --check\n"
       "  --items I,J,...   convert only these items (0-based, in the order given)\n"
       "  --encoding E      log output as utf-8 or cp932 (see 'pp')\n"
       "\n"
       "Relative item paths are taken against the project file's folder.\n"
       "Exit status: 0 every item converted (with --check: every destination up to\n"
       "date), 1 an item was abandoned (with --check: any line was printed), 2 bad\n"
       "arguments or a project that cannot be loaded (its message goes to standard\n"
       "error).\n",
       {{"check", false}, {"changed", false}, {"deps", true}, {"items", true}},
       {"PROJECT"},
       RunConvert},
      {"list",
       "list [--encoding utf-8|cp932] PROJECT",
       "Print each item as SOURCE<TAB>DEST, in the form the project holds them.",
       "options:\n"
       "  --encoding E      output as utf-8 or cp932\n",
       {},
       {"PROJECT"},
       RunList},
      {"info",
       "info PROJECT",
       "Print the project's settings and item count.",
       "Prints the lines path-mode=N (0 absolute, 1 relative), disposition=N, items=N\n"
       "and source-encoding=E (cp932 or utf-8).\n",
       {},
       {"PROJECT"},
       RunInfo},
      {"new",
       "new [--relative|--absolute] [--disposition N] [--source-encoding cp932|utf-8] [--force] "
       "PROJECT",
       "Create an empty project file.",
       "options:\n"
       "  --relative        hold item paths relative to the project's folder (default)\n"
       "  --absolute        hold item paths absolute\n"
       "  --disposition N   0, 1 (default) or 2; see 'pp'\n"
       "  --source-encoding E\n"
       "                    how the items' sources are read: cp932 (default) or utf-8;\n"
       "                    see 'pp'\n"
       "  --force           replace an existing file\n",
       {{"relative", false},
        {"absolute", false},
        {"disposition", true},
        {"source-encoding", true},
        {"force", false}},
       {"PROJECT"},
       RunNew},
      {"add",
       "add PROJECT SOURCE DEST",
       "Append an item to a project and save it.",
       "SOURCE and DEST are taken relative to the current directory and stored in the\n"
       "project's form (relative to its folder or absolute).\n",
       {},
       {"PROJECT", "SOURCE", "DEST"},
       RunAdd},
      {"set",
       "set [--relative|--absolute] [--disposition N] [--source-encoding cp932|utf-8] PROJECT",
       "Change a project's settings and save it.",
       "options (at least one):\n"
       "  --relative        hold item paths relative to the project's folder\n"
       "  --absolute        hold item paths absolute\n"
       "  --disposition N   0, 1 or 2; see 'pp'\n"
       "  --source-encoding E\n"
       "                    how the items' sources are read: cp932 or utf-8; see 'pp'\n"
       "\n"
       "Settings not given keep their values. The item paths are brought into the\n"
       "form of the path mode, as the window's project settings do; a path on\n"
       "another drive stays absolute.\n",
       {{"relative", false}, {"absolute", false}, {"disposition", true}, {"source-encoding", true}},
       {"PROJECT"},
       RunSet},
      {"watch",
       "watch [--items I,J,...] [--encoding utf-8|cp932] [--poll] PROJECT",
       "Convert a project's items, then again whenever a file they read changes.",
       "options:\n"
       "  --items I,J,...   watch only these items (0-based)\n"
       "  --encoding E      log output as utf-8 or cp932 (see 'pp')\n"
       "  --poll            look at the files every half second instead of using the\n"
       "                    system's change notification\n"
       "\n"
       "Converts the items whose destinations are not up to date and prints the log\n"
       "as 'convert' does. Then waits: when a source or a file it includes changes\n"
       "(written, replaced by a rename as editors save, removed or created), the\n"
       "items that read it are converted again and their log printed; when the\n"
       "project file changes, it is loaded again and every item is looked at (a\n"
       "project that cannot be loaded is reported on standard error and the last\n"
       "one is kept). Changes are heard through the system's change notification;\n"
       "where it is unavailable (network shares, a folder that cannot be watched,\n"
       "the notification failing) those files are polled every half second. A line\n"
       "on standard error says which is used.\n"
       "Ctrl+C ends the watch after the item in progress, with exit status 0; 2 for\n"
       "bad arguments or a project that cannot be loaded at the start.\n",
       {{"items", true}, {"poll", false}},
       {"PROJECT"},
       RunWatch},
  };
  return commands;
}
