-- Rows of the template that every new local database is copied from.

-- The login reads Note and Warehouse as numbers, so both must be present.
insert into config values('Note', '0');
insert into config values('Warehouse', '0');
insert into config values('Port', 'Default');
insert into config values('Discount', '0');
insert into config values('Tax', '0');

-- The one operator of a new database, holding every right so that it can
-- create the others. Passwords are stored with each character code c turned
-- into 255 - c: char(158,155,146,150,145) is "admin".
insert into operator values('Admin', char(158,155,146,150,145), 1, 1, 1, 1, 1, 1, 1, 1);
