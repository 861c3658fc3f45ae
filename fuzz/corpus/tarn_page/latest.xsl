<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8" doctype-system="about:legacy-compat"/>
<xsl:define name="content_type" value="text/html"/>
<xsl:include href="common.xsl"/>
<Tarn name="repository" database="Tamrix/tamrix.db">
  <request name="*" method="SQL"
           value="select id, title, site, folder, substr(datetime(createTime, 'localtime'), 1, 16) as created from entry order by createTime desc, rowid desc limit 30"/>
</Tarn>

<xsl:template match="/">
  <xsl:call-template name="layout">
    <xsl:with-param name="title">Latest clips</xsl:with-param>
    <xsl:with-param name="here">latest</xsl:with-param>
    <xsl:with-param name="body">
      <xsl:call-template name="entry-list">
        <xsl:with-param name="items" select="/repository/item"/>
        <xsl:with-param name="empty">
          <strong>Your repository holds no clips yet.</strong>
          Open a web page, press the Tamrix button on the toolbar and choose Save (or press
          Ctrl+S): the page, or the part of it you selected, is kept here.
        </xsl:with-param>
      </xsl:call-template>
    </xsl:with-param>
  </xsl:call-template>
</xsl:template>
</xsl:stylesheet>
