// docbrowse <document>: shows the document in the user's web browser.
#include "docbrowse/launcher.h"
#include "docbrowse/posix_platform.h"

int main(int argc, char** argv) {
  veltrane::PosixBrowserPlatform platform;
  return veltrane::RunDocBrowse(platform, veltrane::DocumentFromArguments(argc, argv));
}
