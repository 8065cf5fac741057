#include <cstdio>

int main()
{
    std::puts("quorvel-sim: not yet serving");
    return 0;
}
