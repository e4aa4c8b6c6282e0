#include <cstdio>

int main() {
  std::puts("Castellan: the program was built; its main window is not part of this build yet.");
  return 0;
}
