#include "app/Module1.h"

int main(int argc, char** argv)
{
    return vantelo::Main(argc, argv);
}
