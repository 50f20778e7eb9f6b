# Being written.
