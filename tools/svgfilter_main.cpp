#include <cstdio>
int main() {
    std::puts("svgfilter");
    return 0;
}
