// rumone-db: create, import, export and check draw databases.
#include <iostream>

int main(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    std::cerr << "rumone-db: not yet available\n";
    return 0;
}
