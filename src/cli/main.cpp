// Placeholder entry of the scenario tool; the real one comes with the tool itself.
int main() {
    return 0;
}
