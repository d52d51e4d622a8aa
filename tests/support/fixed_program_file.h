#pragma once

// A stand-in for the running program's own file: tests say where it is; copies are real.
namespace stand_in {

// The program's full path; its file name starts after the last '/'.
void SetProgramPath(const char* path);

} // namespace stand_in
