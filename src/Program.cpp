// Placeholder entry until the window framework lands.
#include <cstdio>
int main() {
    std::puts("configurator: the window framework is not built yet");
    return 0;
}
