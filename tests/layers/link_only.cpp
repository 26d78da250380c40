// A layer's objects linked whole with the layers below it: building this
// program is the check; running it does nothing.
int main() { return 0; }
