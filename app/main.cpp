int main() { return 0; } // replaced by the window's start-up
