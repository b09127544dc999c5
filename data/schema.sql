-- Tables of a business database. Every INSERT of the program gives its values
-- without a column list, so the column order of each table is its format.
-- No keys or constraints: the program itself keeps codes and ids unique.
-- Text compares without case (as the program's lookups expect), except the
-- stored password form, which must match exactly.

-- Settings store
create table config (
  `key`       TEXT COLLATE NOCASE,
  setting     TEXT COLLATE NOCASE
);
create index config_key on config(`key`);

-- Operators and their eight rights
create table operator (
  username    TEXT COLLATE NOCASE,
  password    TEXT,
  cashier     INTEGER,
  master      INTEGER,
  inventory   INTEGER,
  ledger      INTEGER,
  stock       INTEGER,
  `user`      INTEGER,
  db          INTEGER,
  setting     INTEGER
);
create index operator_username on operator(username);

-- Items of the four actions
create table SaleItems (
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  satuan      TEXT COLLATE NOCASE
);
create index saleitems_code on SaleItems(code);
create index saleitems_name on SaleItems(name);
create index saleitems_category on SaleItems(category);

create table ShopItems (
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  satuan      TEXT COLLATE NOCASE
);
create index shopitems_code on ShopItems(code);
create index shopitems_name on ShopItems(name);
create index shopitems_category on ShopItems(category);

create table `Cash InItems` (
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  satuan      TEXT COLLATE NOCASE
);
create index cashinitems_code on `Cash InItems`(code);
create index cashinitems_name on `Cash InItems`(name);
create index cashinitems_category on `Cash InItems`(category);

create table `Cash OutItems` (
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  satuan      TEXT COLLATE NOCASE
);
create index cashoutitems_code on `Cash OutItems`(code);
create index cashoutitems_name on `Cash OutItems`(name);
create index cashoutitems_category on `Cash OutItems`(category);

-- Contacts: the charges of the actions, and the warehouses
create table Customer (
  code        TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  address     TEXT COLLATE NOCASE,
  phone       TEXT COLLATE NOCASE,
  fax         TEXT COLLATE NOCASE
);
create index customer_code on Customer(code);
create index customer_name on Customer(name);

create table Supplier (
  code        TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  address     TEXT COLLATE NOCASE,
  phone       TEXT COLLATE NOCASE,
  fax         TEXT COLLATE NOCASE
);
create index supplier_code on Supplier(code);
create index supplier_name on Supplier(name);

create table Person (
  code        TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  address     TEXT COLLATE NOCASE,
  phone       TEXT COLLATE NOCASE,
  fax         TEXT COLLATE NOCASE
);
create index person_code on Person(code);
create index person_name on Person(name);

create table Warehouse (
  code        TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  address     TEXT COLLATE NOCASE,
  phone       TEXT COLLATE NOCASE,
  fax         TEXT COLLATE NOCASE
);
create index warehouse_code on Warehouse(code);
create index warehouse_name on Warehouse(name);

-- Stock: items bought and sold under one code, stock items, recipes, movements
create table inventory (
  code        TEXT COLLATE NOCASE
);
create index inventory_code on inventory(code);

create table stock (
  code        TEXT COLLATE NOCASE,
  description TEXT COLLATE NOCASE,
  unit        TEXT COLLATE NOCASE
);
create index stock_code on stock(code);

-- quantity is text: the link dialogs store it as typed, decimal comma included
create table stockshop (
  ID          INTEGER,
  stock       TEXT COLLATE NOCASE,
  code        TEXT COLLATE NOCASE,
  quantity    TEXT
);
create index stockshop_id on stockshop(ID);
create index stockshop_stock on stockshop(stock);
create index stockshop_code on stockshop(code);

create table stocksale (
  ID          INTEGER,
  stock       TEXT COLLATE NOCASE,
  code        TEXT COLLATE NOCASE,
  quantity    TEXT
);
create index stocksale_id on stocksale(ID);
create index stocksale_stock on stocksale(stock);
create index stocksale_code on stocksale(code);

-- moment is a zero-padded yyyy-mm-dd text, so ranges compare as text
create table stockflow (
  id          INTEGER,
  moment      TEXT,
  category    TEXT COLLATE NOCASE,
  code        TEXT COLLATE NOCASE,
  description TEXT COLLATE NOCASE,
  unit        TEXT COLLATE NOCASE,
  `in`        REAL,
  `out`       REAL
);
create index stockflow_id on stockflow(id);
create index stockflow_code on stockflow(code);
create index stockflow_moment on stockflow(moment);
-- The stock report sums every movement by code and description: from this
-- index alone, in its order, without reading the table or sorting.
create index stockflow_report on stockflow(code, description, moment, category, `in`, `out`);

-- Open carts, one table per action, held under a charge
create table Salecart (
  id          INTEGER,
  charge      TEXT COLLATE NOCASE,
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  subtotal    REAL,
  quantity    REAL,
  satuan      TEXT COLLATE NOCASE,
  total       REAL,
  checked     INTEGER
);
create index salecart_id on Salecart(id);
create index salecart_charge on Salecart(charge, code);

create table Shopcart (
  id          INTEGER,
  charge      TEXT COLLATE NOCASE,
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  subtotal    REAL,
  quantity    REAL,
  satuan      TEXT COLLATE NOCASE,
  total       REAL,
  checked     INTEGER
);
create index shopcart_id on Shopcart(id);
create index shopcart_charge on Shopcart(charge, code);

create table `Cash Incart` (
  id          INTEGER,
  charge      TEXT COLLATE NOCASE,
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  subtotal    REAL,
  quantity    REAL,
  satuan      TEXT COLLATE NOCASE,
  total       REAL,
  checked     INTEGER
);
create index cashincart_id on `Cash Incart`(id);
create index cashincart_charge on `Cash Incart`(charge, code);

create table `Cash Outcart` (
  id          INTEGER,
  charge      TEXT COLLATE NOCASE,
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  subtotal    REAL,
  quantity    REAL,
  satuan      TEXT COLLATE NOCASE,
  total       REAL,
  checked     INTEGER
);
create index cashoutcart_id on `Cash Outcart`(id);
create index cashoutcart_charge on `Cash Outcart`(charge, code);

create table `Sale Returcart` (
  id          INTEGER,
  charge      TEXT COLLATE NOCASE,
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  subtotal    REAL,
  quantity    REAL,
  satuan      TEXT COLLATE NOCASE,
  total       REAL,
  checked     INTEGER
);
create index salereturcart_id on `Sale Returcart`(id);
create index salereturcart_charge on `Sale Returcart`(charge, code);

create table `Shop Returcart` (
  id          INTEGER,
  charge      TEXT COLLATE NOCASE,
  code        TEXT COLLATE NOCASE,
  category    TEXT COLLATE NOCASE,
  name        TEXT COLLATE NOCASE,
  price       REAL,
  discount    REAL,
  subtotal    REAL,
  quantity    REAL,
  satuan      TEXT COLLATE NOCASE,
  total       REAL,
  checked     INTEGER
);
create index shopreturcart_id on `Shop Returcart`(id);
create index shopreturcart_charge on `Shop Returcart`(charge, code);

-- The warehouse chosen for each held charge
create table pending (
  action      TEXT COLLATE NOCASE,
  charge      TEXT COLLATE NOCASE,
  warehouse   TEXT COLLATE NOCASE
);
create index pending_action_charge on pending(action, charge);

-- The journal
create table cash (
  ID          INTEGER,
  no          INTEGER,
  Category    TEXT COLLATE NOCASE,
  Moment      TEXT,
  Keterangan  TEXT COLLATE NOCASE,
  Cashier     TEXT COLLATE NOCASE,
  Warehouse   TEXT COLLATE NOCASE,
  Charge      TEXT COLLATE NOCASE,
  Code        TEXT COLLATE NOCASE,
  Description TEXT COLLATE NOCASE,
  Price       REAL,
  Discount    REAL,
  SubTotal    REAL,
  Quantity    REAL,
  Unit        TEXT COLLATE NOCASE,
  Sale        REAL,
  Shop        REAL,
  Shop_Retur  REAL,
  Sale_Retur  REAL,
  Cash_In     REAL,
  Cash_Out    REAL,
  Debit       REAL,
  Credit      REAL
);
create index cash_id on cash(ID);
create index cash_no on cash(no);
create index cash_moment on cash(Moment);
create index cash_category on cash(Category, Moment);
create index cash_code on cash(Code);
create index cash_cashier on cash(Cashier);
-- The clock sums both columns of the whole journal: from this index alone.
create index cash_debit_credit on cash(Debit, Credit);
