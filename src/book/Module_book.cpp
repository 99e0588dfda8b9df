// module book
