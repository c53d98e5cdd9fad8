// A shared object that is not an add-in: it exports none of the entry points.
extern "C" int TrawlexTestNotAnAddin() {
    return 42;
}
