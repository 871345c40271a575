#pragma once
// The command line the Qt application is made with.
#include <string>
#include <vector>

namespace parlino::app {

// The program's command line with "-platform xcb" added, unless the user chose a platform
// (QT_QPA_PLATFORM, or -platform on the command line): the windows and Qt's clipboard must live
// on the X display that the hot keys, the synthetic copy and the selections use, also on a
// Wayland desktop, where Qt would pick its Wayland platform. Setting the environment instead
// would pass the choice on to every program the desktop shell starts for the user.
class ToolkitArguments {
 public:
  ToolkitArguments(int argc, char** argv);
  ToolkitArguments(const ToolkitArguments&) = delete;
  ToolkitArguments& operator=(const ToolkitArguments&) = delete;

  // For QApplication, which keeps both and takes its own arguments out.
  int& argc() { return count_; }
  char** argv() { return pointers_.data(); }
  // What is left once Qt took its arguments: the program path first.
  std::vector<std::string> ProgramArguments() const;

 private:
  std::vector<std::string> storage_;
  std::vector<char*> pointers_;
  int count_ = 0;
};

}  // namespace parlino::app
