#include "operation/run_fixture.h"

#include "platform/handles.h"

bool TestSupport::RunTest::TellsPlacement() {
  static const bool tells = [] {
    const TempFolder probe;
    WriteFile(probe / "probe.bin", Repeat('p', 4096));
    Platform::FolderHandle folder;
    Platform::FileHandle file;
    Platform::FileLayout layout;
    return !folder.Open(probe.Path()) && !file.OpenForWriting(folder, "probe.bin") && !file.Layout(layout) &&
           layout.located;
  }();
  return tells;
}
