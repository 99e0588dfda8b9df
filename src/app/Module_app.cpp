// module app
