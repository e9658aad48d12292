/* A module that only carries a version resource, for the tests of the version reader
   and the About box: the resources are what is read; this code never runs. */
int foldtally_version_probe(void) { return 0; }
