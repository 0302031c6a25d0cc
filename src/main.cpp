// Entry point; the shell replaces this with the real start-up.
int main() { return 0; }
