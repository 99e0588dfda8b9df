// module common
